#include "defaults/JsonValue.h"

#include "text/Base64.h"

namespace quillet {

namespace {

constexpr const char* kDataKey = "base64";

struct ToJson {
    nlohmann::json operator()(const std::string& text) const { return text; }
    nlohmann::json operator()(bool flag) const { return flag; }
    nlohmann::json operator()(std::int64_t number) const { return number; }
    nlohmann::json operator()(double number) const { return number; }
    nlohmann::json operator()(const BinaryData& data) const {
        return nlohmann::json{{kDataKey, text::base64Encode(data.bytes)}};
    }
};

} // namespace

nlohmann::json toJson(const DefaultsValue& value) {
    return std::visit(ToJson{}, value);
}

std::optional<DefaultsValue> fromJson(const nlohmann::json& json) {
    if (json.is_string()) {
        return json.get<std::string>();
    }
    if (json.is_boolean()) {
        return json.get<bool>();
    }
    if (json.is_number_integer()) {
        // Numbers beyond the signed range are kept as floating point rather than wrapped.
        if (json.is_number_unsigned() && json.get<std::uint64_t>() > INT64_MAX) {
            return static_cast<double>(json.get<std::uint64_t>());
        }
        return json.get<std::int64_t>();
    }
    if (json.is_number_float()) {
        return json.get<double>();
    }
    if (json.is_object() && json.size() == 1 && json.contains(kDataKey) &&
        json[kDataKey].is_string()) {
        if (auto bytes = text::base64Decode(json[kDataKey].get<std::string>())) {
            return BinaryData{std::move(*bytes)};
        }
    }
    return std::nullopt;
}

} // namespace quillet
