#include "engine/DeclarationPredicate.h"

namespace quillet {

namespace {

enum class Quick { matches, fails, unsure };

// White space that the expression's "\\s" surely matches.
bool isPlainSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

// Characters that may or may not count as white space: other control characters and anything
// beyond ASCII.
bool mayBeSpace(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte >= 0x7F;
}

// With "." crossing line ends, the expression matches exactly when some "+", "," or "-" is
// followed by optional white space and "(". Plain ASCII settles that without the regular
// expression engine; only unusual white space is left to it.
Quick quickMatch(std::string_view text) {
    bool unsure = false;
    for (auto sign = text.find_first_of("+,-"); sign != std::string_view::npos;
         sign = text.find_first_of("+,-", sign + 1)) {
        auto next = sign + 1;
        while (next < text.size() && isPlainSpace(text[next])) {
            ++next;
        }
        if (next < text.size() && text[next] == '(') {
            return Quick::matches;
        }
        unsure = unsure || (next < text.size() && mayBeSpace(text[next]));
    }
    return unsure ? Quick::unsure : Quick::fails;
}

} // namespace

bool DeclarationPredicate::matches(std::string_view text) {
    switch (quickMatch(text)) {
    case Quick::matches:
        return true;
    case Quick::fails:
        return false;
    case Quick::unsure:
        break;
    }
    return pattern_.matches(text);
}

} // namespace quillet
