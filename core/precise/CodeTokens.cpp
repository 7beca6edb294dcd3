#include "precise/CodeTokens.h"

#include <algorithm>

namespace quillet {

using objc::TokenKind;

CodeTokens::CodeTokens(std::string_view text, const std::vector<objc::Token>& tokens)
    : text_(text), tokens_(tokens), message_(tokens.size(), none),
      parenthesis_(tokens.size(), none), closer_(tokens.size(), none) {
    std::vector<std::size_t> open; // "[" and "(" not yet closed
    std::size_t message = none;
    std::size_t parenthesis = none;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        message_[i] = message;
        parenthesis_[i] = parenthesis;
        if (punct(i, "[") || punct(i, "(")) {
            open.push_back(i);
        } else if ((punct(i, "]") || punct(i, ")")) && !open.empty()) {
            closer_[open.back()] = i;
            open.pop_back();
        } else {
            continue;
        }
        // What is open after this token, innermost first.
        message = none;
        parenthesis = none;
        for (auto it = open.rbegin(); it != open.rend(); ++it) {
            if (message == none && punct(*it, "[")) {
                message = *it;
            }
            if (parenthesis == none && punct(*it, "(")) {
                parenthesis = *it;
            }
            if (message != none && parenthesis != none) {
                break;
            }
        }
    }
}

bool CodeTokens::identifierAmong(std::size_t i, std::span<const std::string_view> words) const {
    return identifier(i) && std::find(words.begin(), words.end(), textOf(i)) != words.end();
}

std::string CodeTokens::selectorOf(std::size_t open) const {
    if (open >= tokens_.size() || closer_[open] == none) {
        return {};
    }
    const std::size_t close = closer_[open];
    std::string selector;
    std::string_view lastWord;
    for (std::size_t i = open + 1; i < close; ++i) {
        if ((punct(i, "[") || punct(i, "(")) && closer_[i] != none) {
            i = closer_[i];
        } else if (identifier(i) && punct(i + 1, ":")) {
            selector += std::string(textOf(i)) + ":";
            ++i;
        } else if (identifier(i)) {
            lastWord = textOf(i);
        }
    }
    return selector.empty() ? std::string(lastWord) : selector;
}

bool CodeTokens::inCallOf(std::size_t i, std::span<const std::string_view> functions) const {
    const std::size_t open = i < tokens_.size() ? parenthesis_[i] : none;
    return open != none && open > 0 && identifierAmong(open - 1, functions);
}

std::pair<std::uint32_t, std::uint32_t> CodeTokens::contentOf(std::size_t i) const {
    const std::string_view literal = textOf(i);
    const auto open = literal.find('"');
    const auto close = literal.rfind('"');
    if (open == std::string_view::npos || close <= open) {
        return {tokens_[i].offset, 0};
    }
    return {static_cast<std::uint32_t>(tokens_[i].offset + open + 1),
            static_cast<std::uint32_t>(close - open - 1)};
}

} // namespace quillet
