#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <variant>

#include <nlohmann/json_fwd.hpp>

#include "base/Result.h"

namespace quillet {

// The parameters of one request: "port" picks the operation; values are integers or texts.
using RequestParams = std::map<std::string, std::variant<std::int64_t, std::string>>;

// Requests to the word bank service: one form field "data" holding the enciphered parameters,
// posted to the service's address; the answer carries its plain JSON the same way.
class WebRequest {
public:
    // Gets the plain answer bytes, or why there are none.
    using CompletionHandler = std::function<void(Result<std::string> answer)>;

    // Sends on a background thread and returns at once; `completionHandler` runs exactly once,
    // on the main queue.
    static void start(const RequestParams& params, CompletionHandler completionHandler);

    // The form fields: "data" alone, or none when the parameters cannot be written as JSON.
    static std::map<std::string, std::string> encodeParam(const RequestParams& params);
    // The plain answer inside a parsed answer body, or nothing.
    static std::optional<std::string> decodeParam(const nlohmann::json* data);

    // One whole exchange on the calling thread, without the main queue: the plain answer bytes,
    // or why there are none.
    static Result<std::string> exchange(const RequestParams& params, const std::string& url,
                                        std::chrono::milliseconds timeout);

    static constexpr std::chrono::milliseconds defaultTimeout{30000};
    // How long a request may take before it fails; for tests.
    static void setTimeout(std::chrono::milliseconds timeout);

    static constexpr const char* decodingFailed = "解码失败";
};

} // namespace quillet
