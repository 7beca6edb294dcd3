#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "BankOperations.h"
#include "BankStore.h"
#include "EnvelopeHandler.h"
#include "HeavyAnswerGate.h"
#include "SaveRateLimit.h"
#include "SiteFiles.h"
#include "base/Result.h"
#include "http/HttpHandler.h"
#include "http/HttpLimits.h"
#include "http/HttpServer.h"
#include "http/TlsContext.h"

namespace quillet::service {

struct ServiceOptions {
    std::string database;
    std::string site;        // folder with pages/ and appcast.xml
    std::string certificate; // both set: HTTPS
    std::string key;
    HttpLimits limits;
    unsigned savesPerMinute = 120; // per client address
    std::size_t heavyAnswers = 1;  // owner lists built at once
    std::uint64_t maximumDatabaseBytes = std::uint64_t{1} << 30;
};

// The word bank service: POST "/" with the enciphered form field "data", the help pages under
// "/index.php/", the update feed "/appcast.xml" and "/healthz" for whoever watches the
// service. One log line per request on standard error, without words or device identifiers.
class ServiceServer : public HttpHandler {
public:
    // The service of `options`, or why it cannot run: the store, else the certificate.
    static Result<std::unique_ptr<ServiceServer>> open(const ServiceOptions& options);
    ServiceServer(const ServiceServer&) = delete;
    ServiceServer& operator=(const ServiceServer&) = delete;

    // Binds to `port` on `host` (0: any free port); returns the port, or -1.
    int bind(const std::string& host, int port) { return server_.bind(host, port); }
    // Serves until stop(); returns false when it could not.
    bool run() { return server_.run(); }
    void stop() { server_.stop(); }
    bool isRunning() const { return server_.isRunning(); }

    HttpAnswer respond(const HttpRequest& request) override;
    HttpResponse refuse(int status, const HttpRequest& request) override;

private:
    // `tls` is null for plain HTTP.
    ServiceServer(const ServiceOptions& options, std::unique_ptr<BankStore> store,
                  std::unique_ptr<TlsContext> tls);

    // Owner lists are answered later, off the connections' threads; the rest at once.
    HttpAnswer answerEnvelope(const HttpRequest& request);
    static HttpResponse envelopeResponse(EnvelopeHandler::Outcome outcome);
    HttpResponse health();

    std::unique_ptr<BankStore> store_;
    BankOperations operations_;
    SaveRateLimit saves_;
    HeavyAnswerGate heavy_;
    EnvelopeHandler envelopes_;
    SiteFiles site_;
    std::unique_ptr<TlsContext> tls_;
    HttpServer server_;
};

} // namespace quillet::service
