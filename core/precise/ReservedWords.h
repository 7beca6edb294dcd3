#pragma once

#include <string_view>

namespace quillet {

// Whether a word is a keyword of C, C++ or Objective-C (or one of the names Objective-C gives a
// meaning in declarations), which a new selector keyword must never be.
bool isReservedWord(std::string_view word);

} // namespace quillet
