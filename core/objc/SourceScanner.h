#pragma once

#include <string_view>

#include "objc/SourceFacts.h"
#include "objc/Token.h"

namespace quillet::objc {

enum class ScanDepth : std::uint8_t {
    declarations, // method declarations and definitions only, as an SDK header needs
    everything,   // also message sends, @selector(...) and string literals
};

// Reads one Objective-C file's selectors and classes from its tokens: method declarations and
// definitions in @interface, @protocol and @implementation blocks, message sends with their full
// selector, @selector(...) and string literals shaped like a selector, and the function-like
// macros whose bodies form selectors from their parameters (SourceFacts::macros; their uses are
// read once the whole project's macros are known). Only selectors with at least one keyword are
// recorded, unless `unary` asks for argument-less ones too (never inside function-like macro
// bodies: a rename cannot follow what their arguments form). Linear in the size of the text,
// whatever the text holds.
SourceFacts scanSource(std::string_view text, Dialect dialect, ScanDepth depth,
                       UnaryNames unary = UnaryNames::skipped);

} // namespace quillet::objc
