#pragma once

#include <string_view>

#include "swift/SwiftFacts.h"

namespace quillet::swift {

// Reads the names, explicit Objective-C selectors and adopted types of one Swift file. Any text
// is accepted: what cannot be made sense of is read as names, so nothing used is missed.
SwiftFacts scanSwift(std::string_view source);

} // namespace quillet::swift
