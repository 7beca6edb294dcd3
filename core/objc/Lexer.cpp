#include "objc/Lexer.h"

namespace quillet::objc {

namespace {

// The first few problems say enough; a damaged file can have one on every line.
constexpr std::size_t mostProblems = 16;

bool isIdentifierStart(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || byte >= 0x80;
}

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isIdentifierChar(char c) {
    return isIdentifierStart(c) || isDigit(c);
}

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

// Directives whose rest of line is free text (an apostrophe in "#pragma mark - Foo's" is no
// character literal).
bool isFreeTextDirective(std::string_view name) {
    return name == "pragma" || name == "error" || name == "warning";
}

bool isConditionalStart(std::string_view name) {
    return name == "if" || name == "ifdef" || name == "ifndef";
}

// Length of the operator or punctuator at `p`, longest match first.
std::size_t punctuatorLength(std::string_view rest) {
    const auto next = [&](std::size_t i) { return i < rest.size() ? rest[i] : '\0'; };
    const char c = rest[0];
    const char c1 = next(1);
    switch (c) {
    case '.':
        return c1 == '.' && next(2) == '.' ? 3 : c1 == '*' ? 2 : 1;
    case ':':
        return c1 == ':' ? 2 : 1;
    case '-':
        if (c1 == '>') {
            return next(2) == '*' ? 3 : 2;
        }
        return c1 == '-' || c1 == '=' ? 2 : 1;
    case '+':
        return c1 == '+' || c1 == '=' ? 2 : 1;
    case '<':
    case '>':
        if (c1 == c) {
            return next(2) == '=' ? 3 : 2;
        }
        return c1 == '=' ? 2 : 1;
    case '&':
    case '|':
        return c1 == c || c1 == '=' ? 2 : 1;
    case '#':
        return c1 == '#' ? 2 : 1;
    case '=':
    case '!':
    case '*':
    case '/':
    case '%':
    case '^':
        return c1 == '=' ? 2 : 1;
    default:
        return 1;
    }
}

class Lexer {
public:
    Lexer(std::string_view text, Dialect dialect) : text_(text), dialect_(dialect) {
        result_.tokens.reserve(text.size() / 5 + 16);
    }

    Lexed run() {
        while (pos_ < text_.size()) {
            step();
        }
        endDirective();
        return std::move(result_);
    }

private:
    char at(std::size_t i) const { return i < text_.size() ? text_[i] : '\0'; }

    // A backslash that ends its line joins the next line to it.
    std::size_t spliceLength(std::size_t i) const {
        if (at(i) != '\\') {
            return 0;
        }
        if (at(i + 1) == '\n') {
            return 2;
        }
        return at(i + 1) == '\r' && at(i + 2) == '\n' ? 3 : 0;
    }

    void problem(std::size_t offset, const char* what) {
        if (result_.problems.size() < mostProblems) {
            result_.problems.push_back({static_cast<std::uint32_t>(offset), what});
        }
    }

    void emit(std::size_t start, TokenKind kind, std::uint8_t flags = 0) {
        if (inDirective_) {
            flags |= Token::inDirective;
        }
        result_.tokens.push_back({static_cast<std::uint32_t>(start),
                                  static_cast<std::uint32_t>(pos_ - start), kind, flags});
        atLineStart_ = false;
    }

    void step() {
        const char c = text_[pos_];
        if (c == '\n') {
            ++pos_;
            endDirective();
            atLineStart_ = true;
            return;
        }
        if (isBlank(c)) {
            ++pos_;
            return;
        }
        if (const auto splice = spliceLength(pos_); splice > 0) {
            pos_ += splice;
            return;
        }
        if (c == '/' && at(pos_ + 1) == '/') {
            skipLineComment();
            return;
        }
        if (c == '/' && at(pos_ + 1) == '*') {
            skipBlockComment();
            return;
        }
        if (c == '#' && atLineStart_ && !inDirective_) {
            directive();
            return;
        }
        if (isIdentifierStart(c)) {
            identifierOrPrefixedLiteral();
            return;
        }
        if (isDigit(c) || (c == '.' && isDigit(at(pos_ + 1)))) {
            number();
            return;
        }
        if (c == '"' || c == '\'') {
            const std::size_t start = pos_;
            quoted(c);
            emit(start, c == '"' ? TokenKind::string : TokenKind::character);
            return;
        }
        if (c == '@') {
            atSign();
            return;
        }
        const std::size_t start = pos_;
        pos_ += punctuatorLength(text_.substr(pos_));
        emit(start, TokenKind::punctuator);
    }

    void skipLineComment() {
        while (pos_ < text_.size() && text_[pos_] != '\n') {
            const auto splice = spliceLength(pos_);
            pos_ += splice > 0 ? splice : 1;
        }
    }

    void skipBlockComment() {
        const std::size_t start = pos_;
        const auto close = text_.find("*/", pos_ + 2);
        if (close == std::string_view::npos) {
            problem(start, "unterminated comment");
            pos_ = text_.size();
            return;
        }
        // A comment is white space; a directive it spans goes on after it.
        pos_ = close + 2;
    }

    void identifierOrPrefixedLiteral() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && isIdentifierChar(text_[pos_])) {
            ++pos_;
        }
        const std::string_view word = text_.substr(start, pos_ - start);
        const char next = at(pos_);
        const bool encoding = word == "L" || word == "u" || word == "U" || word == "u8";
        if (encoding && (next == '"' || next == '\'')) {
            quoted(next);
            emit(start, next == '"' ? TokenKind::string : TokenKind::character);
            return;
        }
        const bool raw =
            word == "R" || word == "LR" || word == "uR" || word == "UR" || word == "u8R";
        if (raw && next == '"' && dialect_ == Dialect::objectiveCpp && rawString()) {
            emit(start, TokenKind::string);
            return;
        }
        emit(start, TokenKind::identifier);
    }

    // From the opening quote to after the closing one. An escape hides the next character; a
    // line that ends inside the literal ends it.
    void quoted(char quote) {
        const std::size_t start = pos_;
        ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == quote) {
                ++pos_;
                return;
            }
            if (c == '\n') {
                break;
            }
            if (c == '\\') {
                const auto splice = spliceLength(pos_);
                pos_ += splice > 0 ? splice : 2;
                continue;
            }
            ++pos_;
        }
        pos_ = std::min(pos_, text_.size());
        problem(start, quote == '"' ? "unterminated string" : "unterminated character literal");
    }

    // R"delimiter( ... )delimiter" with `pos_` on the quote; false (nothing consumed) when the
    // delimiter is not a valid one, so the R is an identifier after all.
    bool rawString() {
        const std::size_t quote = pos_;
        std::size_t open = quote + 1;
        while (open < text_.size() && open - quote <= 17 && text_[open] != '(') {
            const char c = text_[open];
            if (c == ')' || c == '\\' || c == '"' || isBlank(c) || c == '\n') {
                return false;
            }
            ++open;
        }
        if (at(open) != '(') {
            return false;
        }
        std::string closing = ")";
        closing.append(text_.substr(quote + 1, open - quote - 1));
        closing += '"';
        const auto close = text_.find(closing, open + 1);
        if (close == std::string_view::npos) {
            problem(quote, "unterminated raw string");
            pos_ = text_.size();
        } else {
            pos_ = close + closing.size();
        }
        return true;
    }

    void number() {
        const std::size_t start = pos_;
        ++pos_;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            const char before = text_[pos_ - 1];
            if (isIdentifierChar(c) || c == '.') {
                ++pos_;
            } else if ((c == '+' || c == '-') &&
                       (before == 'e' || before == 'E' || before == 'p' || before == 'P')) {
                ++pos_;
            } else if (c == '\'' && isIdentifierChar(before) && isIdentifierChar(at(pos_ + 1))) {
                ++pos_; // a digit separator, as in 1'000'000
            } else {
                break;
            }
        }
        emit(start, TokenKind::number);
    }

    void atSign() {
        const std::size_t start = pos_;
        const char next = at(pos_ + 1);
        if (next == '"') {
            ++pos_;
            quoted('"');
            emit(start, TokenKind::string, Token::atString);
            return;
        }
        ++pos_;
        if (isIdentifierStart(next)) {
            while (pos_ < text_.size() && isIdentifierChar(text_[pos_])) {
                ++pos_;
            }
            emit(start, TokenKind::atKeyword);
            return;
        }
        emit(start, TokenKind::punctuator);
    }

    void directive() {
        const std::size_t start = pos_;
        ++pos_;
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        const std::size_t nameStart = pos_;
        while (pos_ < text_.size() && isIdentifierChar(text_[pos_])) {
            ++pos_;
        }
        const std::string_view name = text_.substr(nameStart, pos_ - nameStart);
        inDirective_ = true;
        if (isFreeTextDirective(name)) {
            skipLineComment(); // the rest of the line, continuations included
        }
        emit(start, TokenKind::directive);
        directiveToken_ = result_.tokens.size() - 1;
        if (name == "import" || name == "include" || name == "include_next") {
            headerName();
        }
    }

    void headerName() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        const char open = at(pos_);
        if (open != '<' && open != '"') {
            return;
        }
        const char close = open == '<' ? '>' : '"';
        const std::size_t start = pos_;
        ++pos_;
        while (pos_ < text_.size() && text_[pos_] != close && text_[pos_] != '\n') {
            ++pos_;
        }
        if (at(pos_) == close) {
            ++pos_;
        }
        emit(start, TokenKind::headerName);
    }

    // At the end of a directive's line: "#if 0" hides what follows up to its #else, #elif or
    // #endif.
    void endDirective() {
        if (!inDirective_) {
            return;
        }
        inDirective_ = false;
        const auto& tokens = result_.tokens;
        const bool ifZero = directiveToken_ + 2 == tokens.size() &&
                            directiveName(text_, tokens[directiveToken_]) == "if" &&
                            tokens.back().kind == TokenKind::number &&
                            tokens.back().in(text_) == "0";
        if (ifZero) {
            skipDisabledLines();
        }
    }

    // Moves to the start of the line holding the directive that ends the disabled lines, or to
    // the end of the text. Disabled text is not lexed: apostrophes in prose are common there.
    void skipDisabledLines() {
        int depth = 0;
        bool lineStart = true;
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == '\n') {
                lineStart = true;
                ++pos_;
                continue;
            }
            if (isBlank(c)) {
                ++pos_;
                continue;
            }
            if (c == '/' && at(pos_ + 1) == '*') {
                const auto close = text_.find("*/", pos_ + 2);
                pos_ = close == std::string_view::npos ? text_.size() : close + 2;
                continue;
            }
            if (c == '#' && lineStart) {
                const std::size_t lineBegin = text_.rfind('\n', pos_);
                std::size_t nameStart = pos_ + 1;
                while (nameStart < text_.size() && isBlank(text_[nameStart])) {
                    ++nameStart;
                }
                std::size_t nameEnd = nameStart;
                while (nameEnd < text_.size() && isIdentifierChar(text_[nameEnd])) {
                    ++nameEnd;
                }
                const std::string_view name = text_.substr(nameStart, nameEnd - nameStart);
                if (isConditionalStart(name)) {
                    ++depth;
                } else if (name == "endif" && depth > 0) {
                    --depth;
                } else if (depth == 0 && (name == "endif" || name == "else" || name == "elif")) {
                    pos_ = lineBegin == std::string_view::npos ? 0 : lineBegin + 1;
                    atLineStart_ = true;
                    return;
                }
            }
            lineStart = false;
            skipLineComment();
        }
    }

    std::string_view text_;
    Dialect dialect_;
    std::size_t pos_ = 0;
    bool atLineStart_ = true;
    bool inDirective_ = false;
    std::size_t directiveToken_ = 0;
    Lexed result_;
};

} // namespace

Lexed lex(std::string_view text, Dialect dialect) {
    return Lexer(text, dialect).run();
}

std::string_view directiveName(std::string_view source, const Token& directive) {
    std::string_view text = directive.in(source);
    std::size_t start = 1;
    while (start < text.size() && isBlank(text[start])) {
        ++start;
    }
    std::size_t end = start;
    while (end < text.size() && isIdentifierChar(text[end])) {
        ++end;
    }
    return text.substr(start, end - start);
}

} // namespace quillet::objc
