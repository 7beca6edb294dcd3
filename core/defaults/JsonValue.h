#pragma once

#include <optional>

#include <nlohmann/json.hpp>

#include "defaults/DefaultsValue.h"

namespace quillet {

// How a defaults value looks in the JSON document: text, booleans and numbers as themselves,
// binary data as {"base64": "..."}.
nlohmann::json toJson(const DefaultsValue& value);
// Nothing for JSON the store did not write (arrays, other objects, null, bad base64).
std::optional<DefaultsValue> fromJson(const nlohmann::json& json);

} // namespace quillet
