#include "swift/SwiftLexer.h"

#include "swift/SwiftCharacters.h"

namespace quillet::swift {

std::vector<SwiftToken> SwiftLexer::tokens() {
    tokens_.clear();
    interpolating_.clear();
    position_ = 0;
    parenDepth_ = 0;
    const auto size = source_.size();
    while (position_ < size) {
        const char c = source_[position_];
        const char next = position_ + 1 < size ? source_[position_ + 1] : '\0';
        if (c == '/' && next == '/') {
            const auto end = source_.find('\n', position_);
            position_ = end == std::string_view::npos ? size : end;
        } else if (c == '/' && next == '*') {
            skipBlockComment();
        } else if (c == '"' || (c == '#' && at(position_ + hashesAt(position_), '"'))) {
            startString(hashesAt(position_));
        } else if (c == '`') {
            readBacktickedName();
        } else if (isNameStart(c)) {
            readName();
        } else if (isDigit(c)) {
            readNumber();
        } else if (c == ')') {
            closeParenthesis();
        } else if (isSpace(c)) {
            ++position_;
        } else {
            parenDepth_ += c == '(' ? 1 : 0;
            emit(SwiftToken::Kind::punctuation, position_, position_ + 1);
            ++position_;
        }
    }
    return std::move(tokens_);
}

std::size_t SwiftLexer::hashesAt(std::size_t position) const {
    std::size_t count = 0;
    while (at(position + count, '#')) {
        ++count;
    }
    return count;
}

void SwiftLexer::emit(SwiftToken::Kind kind, std::size_t begin, std::size_t end) {
    tokens_.push_back(
        {kind, source_.substr(begin, end - begin), static_cast<std::uint32_t>(begin)});
}

void SwiftLexer::skipBlockComment() {
    std::size_t depth = 0;
    while (position_ + 1 < source_.size()) {
        if (source_[position_] == '/' && source_[position_ + 1] == '*') {
            ++depth;
            position_ += 2;
        } else if (source_[position_] == '*' && source_[position_ + 1] == '/') {
            position_ += 2;
            if (--depth == 0) {
                return;
            }
        } else {
            ++position_;
        }
    }
    position_ = source_.size();
}

void SwiftLexer::startString(std::size_t hashes) {
    const auto begin = position_;
    position_ += hashes;
    const bool multiline = source_.substr(position_, 3) == R"(""")";
    position_ += multiline ? 3 : 1;
    emit(SwiftToken::Kind::literal, begin, position_);
    const auto literal = tokens_.size() - 1;
    if (continueString({hashes, multiline, 0}) && tokens_.size() == literal + 1) {
        tokens_[literal].text = source_.substr(begin, position_ - begin);
    }
}

bool SwiftLexer::closesString(const OpenString& string) const {
    const std::size_t quotes = string.multiline ? 3 : 1;
    for (std::size_t q = 0; q < quotes; ++q) {
        if (!at(position_ + q, '"')) {
            return false;
        }
    }
    return hashesAt(position_ + quotes) >= string.hashes;
}

// Reads the body of a string up to its end (true), or up to an interpolation, whose code the main
// loop then reads until the parenthesis that closes it, or up to where it breaks off (false).
bool SwiftLexer::continueString(const OpenString& string) {
    const auto size = source_.size();
    while (position_ < size) {
        const char c = source_[position_];
        if (c == '\\' && hashesAt(position_ + 1) >= string.hashes) {
            const auto escaped = position_ + 1 + string.hashes;
            if (at(escaped, '(')) {
                emit(SwiftToken::Kind::punctuation, escaped, escaped + 1);
                position_ = escaped + 1;
                interpolating_.push_back({string.hashes, string.multiline, parenDepth_});
                return false;
            }
            position_ = escaped < size ? escaped + 1 : size;
        } else if (c == '"' && closesString(string)) {
            position_ += (string.multiline ? 3 : 1) + string.hashes;
            return true;
        } else if (c == '\n' && !string.multiline) {
            return false; // a one-line string cannot go on; the next line is code again
        } else {
            ++position_;
        }
    }
    return false;
}

void SwiftLexer::closeParenthesis() {
    emit(SwiftToken::Kind::punctuation, position_, position_ + 1);
    ++position_;
    if (!interpolating_.empty() && interpolating_.back().parenDepth == parenDepth_) {
        const auto string = interpolating_.back();
        interpolating_.pop_back();
        continueString(string);
    } else if (parenDepth_ > 0) {
        --parenDepth_;
    }
}

void SwiftLexer::readBacktickedName() {
    auto end = position_ + 1;
    while (end < source_.size() && isNamePart(source_[end])) {
        ++end;
    }
    if (at(end, '`') && end > position_ + 1) {
        emit(SwiftToken::Kind::identifier, position_ + 1, end);
        position_ = end + 1;
        return;
    }
    emit(SwiftToken::Kind::punctuation, position_, position_ + 1);
    ++position_;
}

void SwiftLexer::readName() {
    const auto begin = position_;
    while (position_ < source_.size() && isNamePart(source_[position_])) {
        ++position_;
    }
    emit(SwiftToken::Kind::identifier, begin, position_);
}

void SwiftLexer::readNumber() {
    const auto begin = position_;
    while (position_ < source_.size() &&
           (isNamePart(source_[position_]) ||
            (source_[position_] == '.' && position_ + 1 < source_.size() &&
             isDigit(source_[position_ + 1])))) {
        ++position_;
    }
    emit(SwiftToken::Kind::literal, begin, position_);
}

} // namespace quillet::swift
