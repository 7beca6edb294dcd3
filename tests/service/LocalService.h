#pragma once

#include <memory>
#include <string>
#include <thread>

#include "ServiceServer.h"
#include "service/MainQueue.h"
#include "service/WebRequest.h"
#include "support/Files.h"

namespace quillet::test {

// The real service on a free loopback port with a database of its own, for one test; the
// program's service and web addresses point at it. send() makes `queue` the main queue.
class LocalService {
public:
    // Over HTTPS when given a certificate and its key.
    explicit LocalService(const std::string& certificate = "", const std::string& key = "");
    ~LocalService();

    const std::string& url() const { return url_; }
    std::string database() const { return (folder_.path() / "banks.db").string(); }

    // Sends through WebRequest::start and runs the main queue until the handler has run.
    Result<std::string> send(const RequestParams& params);
    // The decoded answer of a request that must reach the service and decode.
    NormalModel answer(const RequestParams& params);

    RunLoopQueue queue;

private:
    TempDir folder_;
    std::unique_ptr<service::ServiceServer> server_;
    std::thread thread_;
    std::string url_;
};

} // namespace quillet::test
