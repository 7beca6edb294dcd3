#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "objc/Token.h"

namespace quillet {

// The tokens of one source with the questions the name scans ask of them: what a token is,
// which message and parenthesis it is in, and what a message's selector is. Out-of-range
// positions answer no.
class CodeTokens {
public:
    static constexpr std::size_t none = static_cast<std::size_t>(-1);

    CodeTokens(std::string_view text, const std::vector<objc::Token>& tokens);

    std::size_t count() const { return tokens_.size(); }
    const objc::Token& operator[](std::size_t i) const { return tokens_[i]; }
    std::string_view textOf(std::size_t i) const {
        return i < tokens_.size() ? tokens_[i].in(text_) : std::string_view();
    }
    bool punct(std::size_t i, std::string_view p) const {
        return is(i, objc::TokenKind::punctuator) && textOf(i) == p;
    }
    bool identifier(std::size_t i) const { return is(i, objc::TokenKind::identifier); }
    bool identifier(std::size_t i, std::string_view word) const {
        return identifier(i) && textOf(i) == word;
    }
    bool identifierAmong(std::size_t i, std::span<const std::string_view> words) const;

    // The "[" of the innermost message around token `i`, or none.
    std::size_t messageAround(std::size_t i) const { return message_[i]; }
    // The "(" of the innermost parenthesis around token `i`, or none.
    std::size_t parenthesisAround(std::size_t i) const { return parenthesis_[i]; }
    // The selector of the message opened at `open`: its keywords with their colons
    // ("setValue:forKey:"), or the one word of an argument-less message; empty when unclosed.
    std::string selectorOf(std::size_t open) const;
    // Whether token `i` is inside the arguments of a call of one of the functions.
    bool inCallOf(std::size_t i, std::span<const std::string_view> functions) const;
    // The bytes of the string literal at `i` between its quotes, as an offset into the text
    // and a length: @"Foo", "Foo", L"Foo".
    std::pair<std::uint32_t, std::uint32_t> contentOf(std::size_t i) const;

private:
    bool is(std::size_t i, objc::TokenKind kind) const {
        return i < tokens_.size() && tokens_[i].kind == kind;
    }

    std::string_view text_;
    const std::vector<objc::Token>& tokens_;
    std::vector<std::size_t> message_;
    std::vector<std::size_t> parenthesis_;
    std::vector<std::size_t> closer_; // of each "[" and "(": its partner, or none
};

// Functions that only print their arguments: a name there is text for a person, which may as
// well say the new name.
inline constexpr std::string_view printFunctions[] = {
    "NSLog",     "NSLogv",     "printf",     "fprintf",   "NSAssert",     "NSCAssert",
    "DDLogInfo", "DDLogDebug", "DDLogError", "DDLogWarn", "DDLogVerbose",
};

} // namespace quillet
