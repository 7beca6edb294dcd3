#pragma once

#include <string_view>

#include "text/IcuPattern.h"

namespace quillet {

// Tells whether a text holds a method declaration or a definition's signature: a "+", "," or "-"
// followed by optional white space and "(". Matched over the whole text with "." crossing line
// breaks, so a signature preceded by the previous method's closing brace still counts.
class DeclarationPredicate {
public:
    // The regular expression, matched against the whole text.
    static constexpr const char* expression = "^.*\n?\\s*([+,-]{1})\\s*\\(.*$";

    bool matches(std::string_view text);

private:
    text::IcuPattern pattern_{expression, text::IcuPattern::Dot::crossesLineEnd};
};

} // namespace quillet
