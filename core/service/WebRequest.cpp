#include "service/WebRequest.h"

#include <atomic>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <thread>

#include <httplib.h>
#include <nlohmann/json.hpp>

#include "log/Log.h"
#include "service/Config.h"
#include "service/Envelope.h"
#include "service/MainQueue.h"

namespace quillet {

namespace {

std::atomic<std::chrono::milliseconds::rep> timeoutMs{WebRequest::defaultTimeout.count()};

std::string formBody(const std::map<std::string, std::string>& fields) {
    std::string body;
    for (const auto& [key, value] : fields) {
        if (!body.empty()) {
            body += '&';
        }
        body += httplib::detail::encode_query_param(key);
        body += '=';
        body += httplib::detail::encode_query_param(value);
    }
    return body;
}

Error describe(httplib::Error error) {
    return {"The request could not be completed: " + httplib::to_string(error)};
}

// A client of "scheme://host:port". The library throws on an address it cannot use (an unknown
// scheme, a port out of range), and a client whose TLS could not be set up is not valid; both are
// an error here.
Result<std::unique_ptr<httplib::Client>> clientOf(const std::string& origin) {
    std::unique_ptr<httplib::Client> client;
    try {
        client = std::make_unique<httplib::Client>(origin);
    } catch (const std::logic_error&) {
        client.reset();
    }
    if (client == nullptr || !client->is_valid()) {
        return Error{"The request could not be completed: the address " + origin +
                     " cannot be used"};
    }
    return client;
}

// A device identifier is its owner's credential on the service, so the log names none: every
// "uuid" shows as a stand-in. The enciphered forms are not logged either, since the envelope's
// key is in every copy of the program.
void hideIdentifiers(nlohmann::json& json) {
    if (json.is_array()) {
        for (auto& element : json) {
            hideIdentifiers(element);
        }
        return;
    }
    if (!json.is_object()) {
        return;
    }
    for (auto& [key, value] : json.items()) {
        if (key == "uuid" && value.is_string()) {
            value = "<device identifier>";
        } else {
            hideIdentifiers(value);
        }
    }
}

std::string loggable(nlohmann::json json) {
    hideIdentifiers(json);
    return json.dump();
}

// Runs the handler with the answer on the main queue, which then holds its last reference.
void answerOnMainQueue(std::shared_ptr<WebRequest::CompletionHandler> handler,
                       Result<std::string> answer) {
    MainQueue::post(
        [handler = std::move(handler), answer = std::move(answer)]() { (*handler)(answer); });
}

} // namespace

std::map<std::string, std::string> WebRequest::encodeParam(const RequestParams& params) {
    nlohmann::json object = nlohmann::json::object();
    for (const auto& param : params) {
        std::visit([&](const auto& v) { object[param.first] = v; }, param.second);
    }
    std::string json;
    try {
        json = object.dump();
    } catch (const nlohmann::json::exception&) {
        return {}; // text that is not UTF-8
    }
    QLOG("request:" + loggable(std::move(object)));
    return {{"data", wrapEnvelope(json)}};
}

std::optional<std::string> WebRequest::decodeParam(const nlohmann::json* data) {
    if (data == nullptr || !data->is_object()) {
        return std::nullopt;
    }
    for (const auto& [key, value] : data->items()) {
        if (!value.is_string()) {
            return std::nullopt;
        }
    }
    const auto envelope = data->find("data");
    if (envelope == data->end()) {
        return std::nullopt;
    }
    auto plain = unwrapEnvelope(envelope->get<std::string>());
    if (!plain) {
        return std::nullopt;
    }
    auto answer = nlohmann::json::parse(*plain, nullptr, false);
    QLOG("response:" + (answer.is_discarded() ? *plain : loggable(std::move(answer))));
    return plain;
}

Result<std::string> WebRequest::exchange(const RequestParams& params, const std::string& url,
                                         std::chrono::milliseconds timeout) {
    const auto fields = encodeParam(params);
    // The client takes "scheme://host:port"; a path after it ("/", "/api/") is where to post.
    const auto schemeEnd = url.find("://");
    const auto pathStart = url.find('/', schemeEnd == std::string::npos ? 0 : schemeEnd + 3);
    const std::string origin = url.substr(0, pathStart);
    std::string path = pathStart == std::string::npos ? "/" : url.substr(pathStart);
    if (!path.ends_with('/')) {
        path += '/';
    }
    auto client = clientOf(origin);
    if (!client) {
        return client.error();
    }
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(timeout);
    const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(timeout - seconds);
    (*client)->set_connection_timeout(seconds.count(), micros.count());
    (*client)->set_read_timeout(seconds.count(), micros.count());
    (*client)->set_write_timeout(seconds.count(), micros.count());
    const auto response =
        (*client)->Post(path, formBody(fields), "application/x-www-form-urlencoded; charset=utf-8");
    if (!response) {
        return describe(response.error());
    }
    // The status is not looked at: only the body counts.
    const auto body = nlohmann::json::parse(response->body, nullptr, false);
    if (body.is_discarded()) {
        return Error{"The answer is not JSON"};
    }
    if (auto plain = decodeParam(&body)) {
        return std::move(*plain);
    }
    return Error{decodingFailed};
}

void WebRequest::setTimeout(std::chrono::milliseconds timeout) {
    timeoutMs.store(timeout.count());
}

void WebRequest::start(const RequestParams& params, CompletionHandler completionHandler) {
    const std::chrono::milliseconds timeout{timeoutMs.load()};
    // Shared with the thread, so that it is still here to be told when no thread can start.
    auto handler = std::make_shared<CompletionHandler>(std::move(completionHandler));
    try {
        std::thread([params, timeout, handler]() mutable {
            answerOnMainQueue(std::move(handler), exchange(params, Config::serviceURL(), timeout));
        }).detach();
    } catch (const std::system_error& error) {
        answerOnMainQueue(std::move(handler), Error{"The request could not be completed: " +
                                                    std::string(error.what())});
    }
}

} // namespace quillet
