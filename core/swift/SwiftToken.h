#pragma once

#include <cstdint>
#include <string_view>

namespace quillet::swift {

// One token of Swift code, as the Swift reader needs it: names, literals as a whole, and single
// punctuation characters.
struct SwiftToken {
    enum class Kind : std::uint8_t {
        identifier,  // a name or keyword; a backticked name without its backticks
        literal,     // a number or a whole string; of an interpolated string only its opening
        punctuation, // one character
    };
    Kind kind = Kind::punctuation;
    std::string_view text; // into the source
    std::uint32_t offset = 0;

    bool is(char c) const { return kind == Kind::punctuation && text.size() == 1 && text[0] == c; }
    bool isName(std::string_view name) const { return kind == Kind::identifier && text == name; }
};

} // namespace quillet::swift
