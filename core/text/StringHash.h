#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace quillet::text {

// Lets string-keyed maps be searched with a string_view, without making a string first.
struct StringHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
};

template <typename Value>
using StringMap = std::unordered_map<std::string, Value, StringHash, std::equal_to<>>;

} // namespace quillet::text
