#include "ServiceServer.h"

#include <string_view>

#include "http/UrlText.h"

namespace quillet::service {

namespace {

constexpr std::string_view kPagePrefix = "/index.php/";
constexpr const char* kEnvelopeType = "application/json; charset=utf-8";

bool isReading(const HttpRequest& request) {
    return request.method == "GET" || request.method == "HEAD";
}

// What a refused envelope request is told, in the words of its own answers.
const char* refusalText(int status) {
    switch (status) {
    case 408:
        return "请求超时";
    case 413:
        return "请求过大";
    case 431:
        return "请求头过大";
    case 501:
        return "不支持的请求格式";
    case 503:
        return "服务繁忙，请稍后重试";
    default:
        return "请求格式错误";
    }
}

HttpResponse notAllowed(const char* allowed) {
    HttpResponse response = HttpResponse::plain(405);
    response.headers.emplace_back("Allow", allowed);
    return response;
}

std::unique_ptr<TlsContext> tlsFor(const ServiceOptions& options, std::string& problem) {
    if (options.certificate.empty() != options.key.empty()) {
        problem = "--cert and --key go together";
        return nullptr;
    }
    if (options.certificate.empty()) {
        return nullptr;
    }
    return std::make_unique<TlsContext>(options.certificate, options.key, problem);
}

} // namespace

ServiceServer::ServiceServer(const ServiceOptions& options)
    : store_(options.database, problem_, &log_), operations_(store_), envelopes_(operations_),
      site_(options.site), tls_(tlsFor(options, tlsProblem_)),
      server_(options.limits, *this, log_, tls_.get()) {
    if (!problem_.empty()) {
        problem_ = "cannot open " + options.database + ": " + problem_;
    } else {
        problem_ = tlsProblem_;
    }
}

HttpResponse ServiceServer::respond(const HttpRequest& request) {
    if (request.path == "/") {
        return request.method == "POST" ? answerEnvelope(request) : notAllowed("POST");
    }
    if (request.path == "/healthz") {
        return isReading(request) ? health() : notAllowed("GET, HEAD");
    }
    const bool isPage = request.path.starts_with(kPagePrefix);
    if (site_.present() && (isPage || request.path == "/appcast.xml")) {
        if (!isReading(request)) {
            return notAllowed("GET, HEAD");
        }
        auto file = isPage ? site_.page(std::string_view(request.path).substr(kPagePrefix.size()))
                           : site_.feed();
        return file ? std::move(*file) : HttpResponse::plain(404);
    }
    return HttpResponse::plain(404);
}

HttpResponse ServiceServer::refuse(int status, const HttpRequest& request) {
    if (request.path != "/" || request.method != "POST") {
        return HttpResponse::plain(status);
    }
    // The client reads every answer as an envelope, whatever its status.
    HttpResponse response;
    response.status = status;
    response.contentType = kEnvelopeType;
    response.body = EnvelopeHandler::answerBody(refusal(refusalText(status)));
    return response;
}

HttpResponse ServiceServer::answerEnvelope(const HttpRequest& request) {
    const auto data = formField(request.body, "data");
    const auto outcome = envelopes_.handle(data ? &*data : nullptr);
    HttpResponse response;
    response.contentType = kEnvelopeType;
    response.body = outcome.body;
    response.logNote =
        "port=" + std::to_string(outcome.port) + " code=" + std::to_string(outcome.code);
    return response;
}

HttpResponse ServiceServer::health() {
    HttpResponse response = HttpResponse::plain(store_.healthy() ? 200 : 503);
    response.body = response.status == 200 ? "ok\n" : "the word bank store does not answer\n";
    return response;
}

} // namespace quillet::service
