#pragma once

#include <string_view>

#include "objc/SourceFacts.h"
#include "objc/Token.h"

namespace quillet {

// What a source file in an encoding that cannot be told may name: its bytes read as ASCII with
// every other byte blanked, once taking a backslash after such a byte as a backslash and once
// as the second half of a character, so that code either reading hides is still seen. The file
// is never rewritten: its facts say so among their problems.
objc::SourceFacts scanUnsureText(std::string_view bytes, objc::Dialect dialect,
                                 objc::UnaryNames unary = objc::UnaryNames::skipped);

} // namespace quillet
