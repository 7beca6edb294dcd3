#pragma once

#include <functional>
#include <string>
#include <unordered_set>

#include "text/StringHash.h"

namespace quillet {

// Selector texts such as "fooWithName:count:", searchable with a string_view.
using SelectorSet = std::unordered_set<std::string, text::StringHash, std::equal_to<>>;

} // namespace quillet
