#pragma once

#include <string_view>

namespace quillet {

// Tells whether a text holds a method declaration or a definition's signature: a "+", "," or "-"
// followed by optional white space and "(". This is what the regular expression below means when
// matched over the whole text with "." crossing line breaks (so a signature preceded by the
// previous method's closing brace still counts), decided in one pass over the text: white space
// is ICU's "\s", the Unicode White_Space characters.
class DeclarationPredicate {
public:
    // The regular expression this predicate decides, matched against the whole text.
    static constexpr const char* expression = "^.*\n?\\s*([+,-]{1})\\s*\\(.*$";

    bool matches(std::string_view text) const;
};

} // namespace quillet
