#include "objc/KeyNameReader.h"

#include <algorithm>

namespace quillet::objc {

namespace {

// NS_UNAVAILABLE, UI_APPEARANCE_SELECTOR: a macro written after a declared name.
bool looksLikeMacro(std::string_view word) {
    return word.find('_') != std::string_view::npos &&
           std::all_of(word.begin(), word.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
           });
}

} // namespace

std::size_t KeyNameReader::property(std::size_t keyword, std::vector<std::string>& names) const {
    std::size_t i = keyword + 1;
    if (tokens_.punct(i, "(")) {
        i = tokens_.past(i);
    }
    const std::size_t end = statementEnd(i);
    declaredNames(i, end, names);
    return tokens_.punct(end, ";") ? end + 1 : end;
}

std::string KeyNameReader::customGetter(std::size_t keyword) const {
    return std::string(attribute(keyword, "getter"));
}

bool KeyNameReader::hasCustomSetter(std::size_t keyword) const {
    return !attribute(keyword, "setter").empty();
}

bool KeyNameReader::isInspectable(std::size_t keyword) const {
    const std::size_t end = statementEnd(keyword + 1);
    for (std::size_t i = keyword + 1; i < end; ++i) {
        if (tokens_.identifier(i) && tokens_.textOf(i) == "IBInspectable") {
            return true;
        }
    }
    return false;
}

std::string_view KeyNameReader::attribute(std::size_t keyword, std::string_view name) const {
    const std::size_t open = keyword + 1;
    if (!tokens_.punct(open, "(")) {
        return {};
    }
    const std::size_t close = tokens_.past(open) - 1;
    for (std::size_t i = open + 1; i + 2 < close; ++i) {
        if (tokens_.identifier(i) && tokens_.textOf(i) == name && tokens_.punct(i + 1, "=") &&
            tokens_.identifier(i + 2)) {
            return tokens_.textOf(i + 2);
        }
    }
    return {};
}

std::size_t KeyNameReader::implementedProperties(std::size_t keyword,
                                                 std::vector<std::string>& names) const {
    const std::size_t end = statementEnd(keyword + 1);
    bool first = true; // the name is the first word of each item; "= _a" names the variable
    for (std::size_t i = keyword + 1; i < end; i = tokens_.past(i)) {
        if (tokens_.punct(i, ",")) {
            first = true;
        } else if (first && tokens_.identifier(i)) {
            names.emplace_back(tokens_.textOf(i));
            first = false;
        }
    }
    return tokens_.punct(end, ";") ? end + 1 : end;
}

std::size_t KeyNameReader::instanceVariables(std::size_t open,
                                             std::vector<std::string>& names) const {
    const std::size_t after = tokens_.past(open);
    if (after == open + 1) {
        return after; // unbalanced: nothing is read from it
    }
    declaredNames(open + 1, after - 1, names);
    return after;
}

// The declarators of C declarations between `i` and `end`: in each item before a "," or ";"
// the last plain word outside brackets, or the name in "(^name)" and "(*name)". Words followed
// by "(" are macros or attributes, not names.
void KeyNameReader::declaredNames(std::size_t i, std::size_t end,
                                  std::vector<std::string>& names) const {
    std::string_view name; // empty until the item names one
    while (i < end) {
        if (tokens_[i].is(Token::inDirective) || tokens_[i].kind == TokenKind::atKeyword) {
            ++i; // #if lines, @private
            continue;
        }
        if (tokens_.punct(i, ",") || tokens_.punct(i, ";")) {
            if (!name.empty()) {
                names.emplace_back(name);
            }
            name = {};
        } else if (tokens_.punct(i, "(") &&
                   (tokens_.punct(i + 1, "^") || tokens_.punct(i + 1, "*")) &&
                   tokens_.identifier(i + 2) && i + 2 < end) {
            name = tokens_.textOf(i + 2);
        } else if (tokens_.identifier(i) && !tokens_.punct(i + 1, "(") &&
                   !looksLikeMacro(tokens_.textOf(i))) {
            name = tokens_.textOf(i);
        }
        i = std::min(tokens_.past(i), end);
    }
    if (!name.empty()) {
        names.emplace_back(name);
    }
}

// The ";" that ends a declaration, or the token that starts the next member when none comes
// first.
std::size_t KeyNameReader::statementEnd(std::size_t i) const {
    while (i < tokens_.count() && !tokens_.punct(i, ";") && !tokens_.punct(i, "{") &&
           !tokens_.punct(i, "}") && !tokens_.punct(i, "-") && !tokens_.punct(i, "+") &&
           tokens_[i].kind != TokenKind::atKeyword) {
        i = tokens_.past(i);
    }
    return i;
}

} // namespace quillet::objc
