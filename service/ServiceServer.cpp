#include "ServiceServer.h"

#include <string_view>

#include "ServiceLog.h"
#include "http/UrlText.h"

namespace quillet::service {

namespace {

// The one log of the process, for the store and the server alike.
const ServiceLog serviceLog{};

constexpr std::string_view kPagePrefix = "/index.php/";
constexpr const char* kEnvelopeType = "application/json; charset=utf-8";
// Owner lists waiting for a turn, per one being built, and how long each waits.
constexpr std::size_t heavyQueue = 4;
constexpr std::chrono::seconds heavyWait{5};

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

// The TLS context the options ask for; null for plain HTTP.
Result<std::unique_ptr<TlsContext>> tlsFor(const ServiceOptions& options) {
    if (options.certificate.empty() != options.key.empty()) {
        return Error{"--cert and --key go together"};
    }
    if (options.certificate.empty()) {
        return std::unique_ptr<TlsContext>();
    }
    return TlsContext::load(options.certificate, options.key);
}

} // namespace

Result<std::unique_ptr<ServiceServer>> ServiceServer::open(const ServiceOptions& options) {
    auto store = BankStore::open(options.database, &serviceLog, options.maximumDatabaseBytes);
    if (!store) {
        return Error{"cannot open " + options.database + ": " + store.error().message};
    }
    auto tls = tlsFor(options);
    if (!tls) {
        return tls.error();
    }
    return std::unique_ptr<ServiceServer>(
        new ServiceServer(options, std::move(*store), std::move(*tls)));
}

ServiceServer::ServiceServer(const ServiceOptions& options, std::unique_ptr<BankStore> store,
                             std::unique_ptr<TlsContext> tls)
    : store_(std::move(store)), operations_(*store_), saves_(options.savesPerMinute),
      heavy_(options.heavyAnswers, heavyQueue * options.heavyAnswers, heavyWait),
      envelopes_(operations_, saves_, heavy_), site_(options.site), tls_(std::move(tls)),
      server_(options.limits, *this, serviceLog, tls_.get()) {}

HttpAnswer ServiceServer::respond(const HttpRequest& request) {
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

HttpAnswer ServiceServer::answerEnvelope(const HttpRequest& request) {
    const auto data = formField(request.body, "data");
    auto opened = envelopes_.open(data ? &*data : nullptr, request.peer);
    if (auto* refused = std::get_if<EnvelopeHandler::Outcome>(&opened)) {
        return envelopeResponse(std::move(*refused));
    }
    auto& toAnswer = std::get<EnvelopeHandler::Opened>(opened);
    if (!toAnswer.heavy) {
        return envelopeResponse(envelopes_.answer(toAnswer));
    }
    return HttpAnswer::deferred(
        [this, heavy = std::move(toAnswer)] { return envelopeResponse(envelopes_.answer(heavy)); });
}

HttpResponse ServiceServer::envelopeResponse(EnvelopeHandler::Outcome outcome) {
    HttpResponse response;
    response.status = outcome.status;
    response.contentType = kEnvelopeType;
    response.body = std::move(outcome.body);
    response.logNote =
        "port=" + std::to_string(outcome.port) + " code=" + std::to_string(outcome.code);
    return response;
}

HttpResponse ServiceServer::health() {
    HttpResponse response = HttpResponse::plain(store_->healthy() ? 200 : 503);
    response.body = response.status == 200 ? "ok\n" : "the word bank store does not answer\n";
    return response;
}

} // namespace quillet::service
