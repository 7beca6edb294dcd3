#pragma once

#include <cstddef>
#include <string_view>
#include <vector>

#include "swift/SwiftToken.h"

namespace quillet::swift {

// Splits Swift source into tokens in one pass: comments (nested block comments too) are
// skipped, a string literal of any form (multi-line, raw with #s) becomes one literal token
// (its whole text when it has no interpolation, else its opening quotes, the code of each
// interpolation following as tokens between "(" and ")"). Unterminated
// comments and strings end at the end of the text; no input makes it fail.
class SwiftLexer {
public:
    explicit SwiftLexer(std::string_view source) : source_(source) {}

    std::vector<SwiftToken> tokens();

private:
    // A string whose interpolation is being read, to go on with once the interpolation closes.
    struct OpenString {
        std::size_t hashes;
        bool multiline;
        std::size_t parenDepth; // the depth of parentheses at which the interpolation closes
    };

    void skipBlockComment();
    void startString(std::size_t hashes);
    bool continueString(const OpenString& string);
    bool closesString(const OpenString& string) const;
    void readBacktickedName();
    void readName();
    void readNumber();
    void closeParenthesis();
    void emit(SwiftToken::Kind kind, std::size_t begin, std::size_t end);
    bool at(std::size_t position, char c) const {
        return position < source_.size() && source_[position] == c;
    }
    std::size_t hashesAt(std::size_t position) const;

    std::string_view source_;
    std::size_t position_ = 0;
    std::size_t parenDepth_ = 0;
    std::vector<OpenString> interpolating_;
    std::vector<SwiftToken> tokens_;
};

} // namespace quillet::swift
