#include "objc/MethodSignature.h"

namespace quillet::objc {

namespace {

// Past what may stand before and between keywords: types in parentheses, parameter names, and
// attributes or annotations with or without arguments. A name followed by a colon is a keyword,
// so it ends the run.
std::size_t pastTypesNamesAndAttributes(const TokenView& tokens, std::size_t i) {
    while (i < tokens.count()) {
        if (tokens.punct(i, "(")) {
            i = tokens.past(i);
        } else if (tokens.identifier(i) && !tokens.punct(i + 1, ":")) {
            ++i;
        } else {
            break;
        }
    }
    return i;
}

// Past a keyword's parameter: its type and attributes with arguments, its name (which a colon
// may follow: "pair:(int)a :(int)b" has an empty keyword), and attributes after it.
std::size_t pastParameter(const TokenView& tokens, std::size_t i) {
    while (tokens.punct(i, "(") || (tokens.identifier(i) && tokens.punct(i + 1, "("))) {
        i = tokens.identifier(i) ? tokens.past(i + 1) : tokens.past(i);
    }
    if (tokens.identifier(i)) {
        ++i;
    }
    return pastTypesNamesAndAttributes(tokens, i);
}

} // namespace

std::size_t readMethodKeywords(const TokenView& tokens, std::size_t start, UseRecorder& uses,
                               std::string& selector) {
    std::size_t i = pastTypesNamesAndAttributes(tokens, start + 1);
    while (i < tokens.count()) {
        if (tokens.identifier(i) && tokens.punct(i + 1, ":")) {
            uses.span(tokens[i].offset, tokens[i].length);
            selector.append(tokens.textOf(i)).push_back(':');
            i += 2;
        } else if (!selector.empty() && tokens.punct(i, ":")) {
            uses.span(tokens[i].offset, 0); // an empty keyword
            selector.push_back(':');
            ++i;
        } else {
            break;
        }
        i = pastParameter(tokens, i);
    }
    return i;
}

} // namespace quillet::objc
