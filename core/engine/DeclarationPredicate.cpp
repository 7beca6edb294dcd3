#include "engine/DeclarationPredicate.h"

namespace quillet {

namespace {

// A match needs one of "+,-" with a "(" somewhere after it; most lines and call sites have no
// such pair, and this test is far cheaper than the regular expression.
bool mayMatch(std::string_view text) {
    const auto sign = text.find_first_of("+,-");
    return sign != std::string_view::npos && text.find('(', sign + 1) != std::string_view::npos;
}

} // namespace

bool DeclarationPredicate::matches(std::string_view text) {
    return mayMatch(text) && pattern_.matches(text);
}

} // namespace quillet
