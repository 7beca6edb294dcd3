#include "precise/ClassesNibScanner.h"

#include <algorithm>
#include <optional>
#include <string>

#include "precise/ReferenceCollector.h"

namespace quillet {

namespace {

constexpr int deepestNesting = 200;

bool isUnquotedChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '+' || c == '/' || c == ':' || c == '.' || c == '-';
}

bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

// Reads an old-style property list by recursive descent, bounded in depth, and tells the
// collector of each string in it.
class OldStyleReader {
public:
    OldStyleReader(std::string_view text, ReferenceCollector& references)
        : text_(text), references_(references) {}

    void readDocument() {
        skipSpace();
        if (readValue(0, false) && (skipSpace(), at_ < text_.size())) {
            fail("text after the property list");
        }
    }

private:
    struct Token {
        std::string_view raw; // between the quotes, when quoted
        std::size_t offset = 0;
        bool quoted = false;
    };

    bool readValue(int depth, bool actions) {
        if (depth > deepestNesting) {
            return fail("nested too deeply");
        }
        if (at_ >= text_.size()) {
            return fail("the property list ends early");
        }
        switch (text_[at_]) {
        case '{':
            return readDictionary(depth, actions);
        case '(':
            return readArray(depth);
        case '<':
            return readData();
        default: {
            const auto token = readString();
            if (token) {
                note(*token, ValueRole::other);
            }
            return token.has_value();
        }
        }
    }

    bool readDictionary(int depth, bool keysAreActions) {
        ++at_;
        while (true) {
            skipSpace();
            if (at_ < text_.size() && text_[at_] == '}') {
                ++at_;
                return true;
            }
            const auto key = readString();
            if (!key) {
                return false;
            }
            note(*key, keysAreActions ? ValueRole::actionName : ValueRole::other);
            skipSpace();
            if (!expect('=')) {
                return false;
            }
            skipSpace();
            const bool actions = !key->quoted && key->raw == "ACTIONS";
            if (!readValue(depth + 1, actions)) {
                return false;
            }
            skipSpace();
            if (at_ < text_.size() && text_[at_] == '}') {
                continue; // the last pair without its ';'
            }
            if (!expect(';')) {
                return false;
            }
        }
    }

    bool readArray(int depth) {
        ++at_;
        while (true) {
            skipSpace();
            if (at_ < text_.size() && text_[at_] == ')') {
                ++at_;
                return true;
            }
            if (!readValue(depth + 1, false)) {
                return false;
            }
            skipSpace();
            if (at_ < text_.size() && text_[at_] == ',') {
                ++at_;
            } else if (at_ >= text_.size() || text_[at_] != ')') {
                return fail("',' or ')' expected");
            }
        }
    }

    bool readData() {
        const auto close = text_.find('>', at_);
        if (close == std::string_view::npos) {
            return fail("data is not closed");
        }
        at_ = close + 1;
        return true;
    }

    std::optional<Token> readString() {
        if (at_ < text_.size() && text_[at_] == '"') {
            for (std::size_t p = at_ + 1; p < text_.size(); ++p) {
                if (text_[p] == '\\') {
                    ++p;
                } else if (text_[p] == '"') {
                    Token token{text_.substr(at_ + 1, p - at_ - 1), at_ + 1, true};
                    at_ = p + 1;
                    return token;
                }
            }
            fail("a quoted string is not closed");
            return std::nullopt;
        }
        const std::size_t start = at_;
        while (at_ < text_.size() && isUnquotedChar(text_[at_])) {
            ++at_;
        }
        if (at_ == start) {
            fail("a string is expected");
            return std::nullopt;
        }
        return Token{text_.substr(start, at_ - start), start, false};
    }

    // A quoted string with an escape is not the text written: only a fixed text, with each
    // escape that could not be part of a selector left as a backslash.
    void note(const Token& token, ValueRole role) {
        if (token.raw.find('\\') == std::string_view::npos) {
            references_.plain(token.raw, token.offset, role);
            return;
        }
        std::string unescaped;
        for (std::size_t i = 0; i < token.raw.size(); ++i) {
            const bool escape = token.raw[i] == '\\' && i + 1 < token.raw.size();
            if (escape && (token.raw[i + 1] == '"' || token.raw[i + 1] == '\\')) {
                ++i;
            }
            unescaped += token.raw[i];
        }
        references_.fixed(unescaped, role);
    }

    void skipSpace() {
        while (at_ < text_.size()) {
            if (isSpace(text_[at_])) {
                ++at_;
            } else if (text_.substr(at_).starts_with("//")) {
                const auto end = text_.find('\n', at_);
                at_ = end == std::string_view::npos ? text_.size() : end;
            } else if (text_.substr(at_).starts_with("/*")) {
                const auto end = text_.find("*/", at_ + 2);
                at_ = end == std::string_view::npos ? text_.size() : end + 2;
            } else {
                return;
            }
        }
    }

    bool expect(char c) {
        if (at_ < text_.size() && text_[at_] == c) {
            ++at_;
            return true;
        }
        return fail(std::string("'") + c + "' expected");
    }

    bool fail(const std::string& what) {
        const auto end = text_.begin() + static_cast<std::ptrdiff_t>(std::min(at_, text_.size()));
        const auto line = std::count(text_.begin(), end, '\n') + 1;
        references_.problem("line " + std::to_string(line) + ": " + what);
        return false;
    }

    std::string_view text_;
    ReferenceCollector& references_;
    std::size_t at_ = 0;
};

} // namespace

objc::SourceFacts scanClassesNib(std::string_view text) {
    ReferenceCollector references;
    OldStyleReader(text, references).readDocument();
    return references.take();
}

} // namespace quillet
