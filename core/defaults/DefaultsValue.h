#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace quillet {

// Bytes kept as they are, told apart from text (the store writes them as base64).
struct BinaryData {
    std::string bytes;
    bool operator==(const BinaryData&) const = default;
};

// One value of the defaults store.
using DefaultsValue = std::variant<std::string, bool, std::int64_t, double, BinaryData>;

} // namespace quillet
