#include "precise/AsciiPropertyList.h"

namespace quillet {

namespace {

// Deeper than any project file nests; a text nested deeper is not one.
constexpr int deepestNesting = 64;

bool isBare(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '$' || c == '/' || c == ':' || c == '.' || c == '-' || c == '+';
}

class Parser {
public:
    Parser(std::string_view text, std::vector<TextSpan>& comments)
        : text_(text), comments_(comments) {}

    std::optional<AsciiValue> document() {
        auto value = valueAt(0);
        skipSpace();
        if (!value || pos_ != text_.size()) {
            return std::nullopt;
        }
        return value;
    }

private:
    // Skips blanks and comments, keeping where each comment's inside is.
    void skipSpace() {
        while (pos_ < text_.size()) {
            const char c = text_[pos_];
            if (c == ' ' || c == '\t' || c == '\n' || c == '\r') {
                ++pos_;
            } else if (text_.substr(pos_, 2) == "/*") {
                const auto end = text_.find("*/", pos_ + 2);
                if (end == std::string_view::npos) {
                    broken_ = true;
                    pos_ = text_.size();
                    return;
                }
                comments_.push_back({pos_ + 2, end - pos_ - 2});
                pos_ = end + 2;
            } else if (text_.substr(pos_, 2) == "//") {
                const auto end = text_.find('\n', pos_);
                pos_ = end == std::string_view::npos ? text_.size() : end + 1;
            } else {
                return;
            }
        }
    }

    bool take(char c) {
        skipSpace();
        if (pos_ < text_.size() && text_[pos_] == c) {
            ++pos_;
            return true;
        }
        return false;
    }

    std::optional<AsciiValue> valueAt(int depth) {
        skipSpace();
        if (broken_ || pos_ >= text_.size() || depth > deepestNesting) {
            return std::nullopt;
        }
        if (take('{')) {
            return dictionary(depth);
        }
        if (take('(')) {
            return array(depth);
        }
        return string();
    }

    std::optional<AsciiValue> dictionary(int depth) {
        AsciiValue value;
        value.kind = AsciiValue::Kind::dictionary;
        while (!take('}')) {
            auto key = string();
            if (!key || !take('=')) {
                return std::nullopt;
            }
            auto entry = valueAt(depth + 1);
            if (!entry || !take(';')) {
                return std::nullopt;
            }
            value.entries.push_back({std::move(key->text), std::move(*entry)});
        }
        return value;
    }

    std::optional<AsciiValue> array(int depth) {
        AsciiValue value;
        value.kind = AsciiValue::Kind::array;
        while (!take(')')) {
            auto item = valueAt(depth + 1);
            if (!item) {
                return std::nullopt;
            }
            value.items.push_back(std::move(*item));
            if (!take(',')) {
                return take(')') ? std::optional<AsciiValue>(std::move(value)) : std::nullopt;
            }
        }
        return value;
    }

    std::optional<AsciiValue> string() {
        skipSpace();
        AsciiValue value;
        const std::size_t start = pos_;
        if (pos_ < text_.size() && text_[pos_] == '"') {
            for (++pos_; pos_ < text_.size() && text_[pos_] != '"'; ++pos_) {
                if (text_[pos_] == '\\' && ++pos_ < text_.size()) {
                    value.text += escaped(text_[pos_]);
                } else {
                    value.text += text_[pos_];
                }
            }
            if (pos_ >= text_.size()) {
                return std::nullopt;
            }
            ++pos_;
        } else {
            while (pos_ < text_.size() && isBare(text_[pos_])) {
                value.text += text_[pos_++];
            }
            if (pos_ == start) {
                return std::nullopt;
            }
        }
        value.span = {start, pos_ - start};
        return value;
    }

    static char escaped(char c) {
        switch (c) {
        case 'n':
            return '\n';
        case 't':
            return '\t';
        default:
            return c; // \" and \\, and what Xcode never writes
        }
    }

    std::string_view text_;
    std::vector<TextSpan>& comments_;
    std::size_t pos_ = 0;
    bool broken_ = false;
};

void collectStrings(const AsciiValue& value, std::vector<const AsciiValue*>& strings) {
    switch (value.kind) {
    case AsciiValue::Kind::string:
        strings.push_back(&value);
        break;
    case AsciiValue::Kind::dictionary:
        for (const auto& [key, entry] : value.entries) {
            collectStrings(entry, strings);
        }
        break;
    case AsciiValue::Kind::array:
        for (const auto& item : value.items) {
            collectStrings(item, strings);
        }
        break;
    }
}

} // namespace

const AsciiValue* AsciiValue::find(std::string_view key) const {
    for (const auto& [name, value] : entries) {
        if (name == key) {
            return &value;
        }
    }
    return nullptr;
}

std::string AsciiValue::stringAt(std::string_view key) const {
    const auto* value = find(key);
    return value && value->kind == Kind::string ? value->text : std::string();
}

std::optional<AsciiPropertyList> AsciiPropertyList::parse(std::string_view text) {
    AsciiPropertyList list;
    Parser parser(text, list.comments_);
    auto root = parser.document();
    if (!root) {
        return std::nullopt;
    }
    list.root_ = std::move(*root);
    return list;
}

std::vector<const AsciiValue*> AsciiPropertyList::strings() const {
    std::vector<const AsciiValue*> strings;
    collectStrings(root_, strings);
    return strings;
}

} // namespace quillet
