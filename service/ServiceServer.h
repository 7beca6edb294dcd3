#pragma once

#include <memory>
#include <string>

#include "BankOperations.h"
#include "BankStore.h"
#include "EnvelopeHandler.h"

namespace httplib {
class Server;
}

namespace quillet::service {

struct ServiceOptions {
    std::string database;
    std::string site;        // folder with pages/ and appcast.xml
    std::string certificate; // both set: HTTPS
    std::string key;
};

// The word bank service: POST "/" with the enciphered form field "data", the help pages under
// "/index.php/", and the update feed "/appcast.xml". One log line per request on standard error,
// without words or device identifiers.
class ServiceServer {
public:
    explicit ServiceServer(const ServiceOptions& options);
    ~ServiceServer();
    ServiceServer(const ServiceServer&) = delete;
    ServiceServer& operator=(const ServiceServer&) = delete;

    // Why the service cannot run (the store or the certificate), or empty.
    const std::string& problem() const { return problem_; }

    // Binds to `port` on `host` (0: any free port); returns the port, or -1.
    int bind(const std::string& host, int port);
    // Serves until stop(); returns false when it could not.
    bool run();
    void stop();
    bool isRunning() const;

    static constexpr std::size_t maximumBody = 1 << 20;

private:
    void installRoutes();

    std::string problem_;
    BankStore store_;
    BankOperations operations_;
    EnvelopeHandler envelopes_;
    std::string site_;
    std::unique_ptr<httplib::Server> server_;
};

} // namespace quillet::service
