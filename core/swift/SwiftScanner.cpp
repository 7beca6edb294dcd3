#include "swift/SwiftScanner.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "swift/SwiftCharacters.h"
#include "swift/SwiftLexer.h"

namespace quillet::swift {

namespace {

using Kind = SwiftToken::Kind;

// Bounds the look-ahead after a type declaration, so garbage full of "class A<" stays linear.
constexpr std::size_t longestInheritance = 256;

bool declaresType(const SwiftToken& token) {
    static constexpr std::array<std::string_view, 6> keywords = {"class",     "struct",   "enum",
                                                                 "extension", "protocol", "actor"};
    return token.kind == Kind::identifier &&
           std::find(keywords.begin(), keywords.end(), token.text) != keywords.end();
}

class FactsReader {
public:
    explicit FactsReader(const std::vector<SwiftToken>& tokens) : tokens_(tokens) {}

    SwiftFacts read() {
        std::unordered_set<std::string_view> names;
        for (std::size_t i = 0; i < tokens_.size(); ++i) {
            const auto& token = tokens_[i];
            trackDelimiter(token);
            if (token.kind == Kind::literal) {
                readSelectorString(token.text);
            }
            if (token.kind != Kind::identifier) {
                continue;
            }
            if (const auto labelled = labelLength(i)) {
                i += labelled - 1; // the label, any parameter name and the colon
                continue;
            }
            if (token.text == "objc" && i > 0 && tokens_[i - 1].is('@')) {
                readObjcAttribute(i + 1);
            }
            if (declaresType(token)) {
                readInheritance(i + 1);
            }
            names.insert(token.text);
        }
        facts_.names.assign(names.begin(), names.end());
        return std::move(facts_);
    }

private:
    bool isName(std::size_t i) const {
        return i < tokens_.size() && tokens_[i].kind == Kind::identifier;
    }
    bool isPunctuation(std::size_t i, char c) const {
        return i < tokens_.size() && tokens_[i].is(c);
    }

    void trackDelimiter(const SwiftToken& token) {
        if (token.is('(') || token.is('[') || token.is('{')) {
            open_.push_back(token.text[0]);
        } else if ((token.is(')') || token.is(']') || token.is('}')) && !open_.empty()) {
            open_.pop_back();
        }
    }

    // At the start of an argument or parameter inside parentheses, "label:" or "label name:"
    // names no method: returns how many tokens that is, or 0.
    std::size_t labelLength(std::size_t i) const {
        if (i == 0 || open_.empty() || open_.back() != '(' ||
            !(tokens_[i - 1].is('(') || tokens_[i - 1].is(','))) {
            return 0;
        }
        if (isPunctuation(i + 1, ':')) {
            return 2;
        }
        if (isName(i + 1) && isPunctuation(i + 2, ':')) {
            return 3;
        }
        return 0;
    }

    // @objc(keyword:keyword:) gives the method's Objective-C selector outright.
    void readObjcAttribute(std::size_t i) {
        if (!isPunctuation(i, '(')) {
            return;
        }
        std::string selector;
        for (++i; i < tokens_.size() && (isName(i) || isPunctuation(i, ':')); ++i) {
            selector += tokens_[i].text;
        }
        if (isPunctuation(i, ')') && !selector.empty()) {
            facts_.objcSelectors.push_back(std::move(selector));
        }
    }

    // A string literal that holds nothing but a selector with keywords: "find:in:".
    void readSelectorString(std::string_view literal) {
        const auto open = literal.find('"');
        if (open == std::string_view::npos || literal.size() < 2 * open + 2) {
            return; // a number, or an interpolated string's opening
        }
        const auto text = literal.substr(open + 1, literal.size() - 2 * (open + 1));
        const bool shaped =
            !text.empty() && isNameStart(text.front()) &&
            text.find(':') != std::string_view::npos &&
            std::all_of(text.begin(), text.end(), [](char c) { return isNamePart(c) || c == ':'; });
        if (shaped) {
            facts_.objcSelectors.emplace_back(text);
        }
    }

    // "Name<Generic>: Super, Protocol & Other, Module.Protocol where ..." after the keyword.
    void readInheritance(std::size_t i) {
        i = afterTypeName(i);
        if (i == 0 || !isPunctuation(i, ':')) {
            return;
        }
        const auto limit = i + longestInheritance;
        do {
            const auto end = afterTypeName(i + 1);
            if (end == 0) {
                return;
            }
            facts_.conformances.emplace_back(lastComponent_);
            i = end;
        } while (i < limit && (isPunctuation(i, ',') || isPunctuation(i, '&')));
    }

    // Past "A.B.C<...>" starting at i, remembering "C"; 0 when no type name starts there.
    std::size_t afterTypeName(std::size_t i) {
        if (!isName(i)) {
            return 0;
        }
        lastComponent_ = tokens_[i].text;
        ++i;
        while (isPunctuation(i, '.') && isName(i + 1)) {
            lastComponent_ = tokens_[i + 1].text;
            i += 2;
        }
        if (isPunctuation(i, '<')) {
            std::size_t depth = 0;
            for (const auto limit = i + longestInheritance; i < tokens_.size() && i < limit; ++i) {
                depth += isPunctuation(i, '<') ? 1 : 0;
                if (isPunctuation(i, '>') && --depth == 0) {
                    return i + 1;
                }
                if (isPunctuation(i, '{') || isPunctuation(i, ';')) {
                    return i; // not generic arguments after all
                }
            }
        }
        return i;
    }

    const std::vector<SwiftToken>& tokens_;
    std::vector<char> open_; // the brackets around the current token
    std::string_view lastComponent_;
    SwiftFacts facts_;
};

} // namespace

SwiftFacts scanSwift(std::string_view source) {
    const auto tokens = SwiftLexer(source).tokens();
    return FactsReader(tokens).read();
}

} // namespace quillet::swift
