#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "objc/BracketMatch.h"
#include "objc/Token.h"

namespace quillet::objc {

// The tokens of one text, with the questions the structure scans ask of them. Out-of-range
// positions answer no, so a scan can look ahead without checking the end first.
class TokenView {
public:
    TokenView(std::string_view text, const std::vector<Token>& tokens, const BracketMatch& brackets)
        : text_(text), tokens_(tokens), brackets_(brackets) {}

    std::string_view text() const { return text_; }
    std::size_t count() const { return tokens_.size(); }
    const Token& operator[](std::size_t i) const { return tokens_[i]; }
    std::string_view textOf(std::size_t i) const { return tokens_[i].in(text_); }
    std::uint32_t partner(std::size_t i) const { return brackets_.partner(i); }

    bool punct(std::size_t i, std::string_view p) const {
        return i < count() && tokens_[i].kind == TokenKind::punctuator && textOf(i) == p;
    }
    bool identifier(std::size_t i) const {
        return i < count() && tokens_[i].kind == TokenKind::identifier;
    }
    bool atKeyword(std::size_t i, std::string_view word) const {
        return i < count() && tokens_[i].kind == TokenKind::atKeyword && textOf(i) == word;
    }
    bool opens(std::size_t i) const { return punct(i, "(") || punct(i, "[") || punct(i, "{"); }

    // The token after a bracketed group starting at `i`, or after `i` itself.
    std::size_t past(std::size_t i) const {
        if (opens(i)) {
            const auto closer = brackets_.partner(i);
            if (closer != BracketMatch::none && closer > i) {
                return closer + 1;
            }
        }
        return i + 1;
    }

private:
    std::string_view text_;
    const std::vector<Token>& tokens_;
    const BracketMatch& brackets_;
};

} // namespace quillet::objc
