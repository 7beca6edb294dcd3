#pragma once

#include <optional>
#include <string_view>
#include <variant>

#include <nlohmann/json.hpp>

#include "log/Log.h"

namespace quillet {

// Response models decode from the plain answer bytes. A model type provides
// `static std::variant<Model, std::string> decode(const nlohmann::json&)`.
template <typename Model> struct ParseProtocol {
    using CompatibleType = Model;

    // The model, or nothing after logging why the bytes are not one.
    static std::optional<CompatibleType> parse(std::string_view jsonData) {
        const auto json = nlohmann::json::parse(jsonData, nullptr, false);
        if (json.is_discarded()) {
            QLOG_AS("parse(jsonData:)", "The answer is not JSON");
            return std::nullopt;
        }
        auto decoded = Model::decode(json);
        if (auto* error = std::get_if<std::string>(&decoded)) {
            QLOG_AS("parse(jsonData:)", *error);
            return std::nullopt;
        }
        return std::get<Model>(std::move(decoded));
    }
};

} // namespace quillet
