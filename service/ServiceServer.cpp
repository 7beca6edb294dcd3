#include "ServiceServer.h"

#include <chrono>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <sstream>

#include <httplib.h>

namespace quillet::service {

namespace {

void logRequest(const std::string& what, long long port, long long code,
                std::chrono::steady_clock::time_point start) {
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    std::fprintf(stderr, "%s %s port=%lld code=%lld %.1f ms\n", stamp, what.c_str(), port, code,
                 ms);
}

std::unique_ptr<httplib::Server> makeServer(const ServiceOptions& options, std::string& problem) {
    if (options.certificate.empty() != options.key.empty()) {
        problem = "--cert and --key go together";
        return std::make_unique<httplib::Server>();
    }
    if (options.certificate.empty()) {
        return std::make_unique<httplib::Server>();
    }
    auto server =
        std::make_unique<httplib::SSLServer>(options.certificate.c_str(), options.key.c_str());
    if (!server->is_valid()) {
        problem = "the certificate or key cannot be used";
    }
    return server;
}

} // namespace

ServiceServer::ServiceServer(const ServiceOptions& options)
    : store_(options.database, problem_), operations_(store_), envelopes_(operations_),
      site_(options.site) {
    if (!problem_.empty()) {
        problem_ = "cannot open " + options.database + ": " + problem_;
    }
    std::string serverProblem;
    server_ = makeServer(options, serverProblem);
    if (problem_.empty()) {
        problem_ = serverProblem;
    }
    installRoutes();
}

ServiceServer::~ServiceServer() = default;

void ServiceServer::installRoutes() {
    // Bodies a little past the limit are read and refused by the handler; beyond this, the
    // error handler refuses them unread.
    server_->set_payload_max_length(4 * maximumBody);
    // The body is read here rather than by the library, whose own form parsing stops at 8 KB.
    server_->Post("/", [this](const httplib::Request&, httplib::Response& response,
                              const httplib::ContentReader& content) {
        const auto start = std::chrono::steady_clock::now();
        std::string body;
        bool oversized = false;
        content([&](const char* data, std::size_t length) {
            oversized = oversized || body.size() + length > maximumBody;
            if (!oversized) {
                body.append(data, length);
            }
            return true;
        });
        EnvelopeHandler::Outcome outcome;
        if (oversized) {
            outcome = {EnvelopeHandler::answerBody(refusal("请求过大")), 0, 0};
        } else {
            httplib::Params form;
            httplib::detail::parse_query_text(body, form);
            const auto data = form.find("data");
            outcome = envelopes_.handle(data == form.end() ? nullptr : &data->second);
        }
        response.set_content(outcome.body, "application/json; charset=utf-8");
        logRequest("POST /", outcome.port, outcome.code, start);
    });
    server_->set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (request.method == "POST" && request.path == "/") {
            // Bodies past the limit never reach the handler; they get a refusal all the same.
            response.set_content(EnvelopeHandler::answerBody(refusal("请求过大")),
                                 "application/json; charset=utf-8");
        }
    });
    if (!site_.empty()) {
        server_->set_mount_point("/index.php", site_ + "/pages");
        server_->Get("/appcast.xml", [this](const httplib::Request&, httplib::Response& response) {
            std::ifstream in(site_ + "/appcast.xml", std::ios::binary);
            std::ostringstream feed;
            feed << in.rdbuf();
            if (!in) {
                response.status = 404;
                return;
            }
            response.set_content(feed.str(), "application/xml; charset=utf-8");
        });
    }
    server_->set_logger([](const httplib::Request& request, const httplib::Response& response) {
        if (request.method != "POST") {
            std::fprintf(stderr, "%s %s %d\n", request.method.c_str(), request.path.c_str(),
                         response.status);
        }
    });
}

int ServiceServer::bind(const std::string& host, int port) {
    if (port == 0) {
        return server_->bind_to_any_port(host);
    }
    return server_->bind_to_port(host, port) ? port : -1;
}

bool ServiceServer::run() {
    return server_->listen_after_bind();
}

void ServiceServer::stop() {
    server_->stop();
}

bool ServiceServer::isRunning() const {
    return server_->is_running();
}

} // namespace quillet::service
