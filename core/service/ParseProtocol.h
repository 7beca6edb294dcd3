#pragma once

#include <concepts>
#include <string_view>

#include <nlohmann/json.hpp>

#include "base/Result.h"
#include "log/Log.h"

namespace quillet {

// A response model: it decodes from a parsed answer, or says why the answer is not one.
template <typename Model>
concept DecodableModel = requires(const nlohmann::json& json) {
    { Model::decode(json) } -> std::same_as<Result<Model>>;
};

// Response models decode from the plain answer bytes.
template <DecodableModel Model> struct ParseProtocol {
    using CompatibleType = Model;

    // The model, or why the bytes are not one; the reason is logged as well.
    static Result<CompatibleType> parse(std::string_view jsonData) {
        const auto json = nlohmann::json::parse(jsonData, nullptr, false);
        if (json.is_discarded()) {
            QLOG_AS("parse(jsonData:)", "The answer is not JSON");
            return Error{"The answer is not JSON"};
        }
        auto decoded = Model::decode(json);
        if (!decoded) {
            QLOG_AS("parse(jsonData:)", decoded.error().message);
        }
        return decoded;
    }
};

} // namespace quillet
