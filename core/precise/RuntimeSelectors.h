#pragma once

#include <string_view>

namespace quillet {

// Whether the Objective-C runtime or Foundation calls this selector by its name, whoever
// declares it: equality and copying, archiving, message forwarding, key-value observing and
// coding (with the accessor names key-value coding derives from a key), subscripting and fast
// enumeration. Renaming such a method silently takes it out of those mechanisms.
bool isCalledByRuntime(std::string_view selector);

} // namespace quillet
