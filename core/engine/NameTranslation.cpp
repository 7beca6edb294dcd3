#include "engine/NameTranslation.h"

#include <algorithm>

#include "text/Utf.h"

namespace quillet {

namespace {

using Kind = NameEntry::Kind;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

bool isHexDigit(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

bool isWordChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || isDigit(c) || c == '_' || c == '$';
}

bool isFileNameChar(char c) {
    return isWordChar(c) || c == '.' || c == '+' || c == '-';
}

bool isSelectorChar(char c) {
    return isWordChar(c) || c == ':';
}

std::size_t wordEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && isWordChar(text[at])) {
        ++at;
    }
    return at;
}

bool isIdentifier(std::string_view word) {
    return !word.empty() && !isDigit(word[0]) && wordEnd(word, 0) == word.size();
}

// Calls `each` with every piece of a selector that takes arguments, without its ':'.
template <typename Each> void forEachPiece(std::string_view selector, Each each) {
    while (!selector.empty()) {
        const auto colon = selector.find(':');
        each(selector.substr(0, colon));
        selector.remove_prefix(std::min(colon + 1, selector.size()));
    }
}

// A selector as a method symbol or @selector(...) writes it: an identifier, or pieces ending in
// ':' that are identifiers or empty ("a:b:", "a::").
bool isSelector(std::string_view selector) {
    if (selector.find(':') == std::string_view::npos) {
        return isIdentifier(selector);
    }
    bool valid = selector.ends_with(':');
    forEachPiece(selector, [&](std::string_view piece) {
        valid = valid && (piece.empty() || isIdentifier(piece));
    });
    return valid;
}

// A selector with arguments as a run of the renamer gives one: no empty piece.
bool isKeywordSelector(std::string_view selector) {
    return selector.find("::") == std::string_view::npos && !selector.starts_with(':') &&
           selector.find(':') != std::string_view::npos && isSelector(selector);
}

std::string_view baseName(std::string_view path) {
    const auto slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

// A file name the scan can find whole: file name characters, with one that ends an identifier
// (else the name is an identifier, read as one), and not ending with the dot that ends a
// sentence.
bool isFileNameToken(std::string_view name) {
    return !name.empty() && !name.ends_with('.') &&
           std::all_of(name.begin(), name.end(), isFileNameChar) &&
           !std::all_of(name.begin(), name.end(), isWordChar);
}

// An old name that cannot end or break the JSON or C string, or the line, it is written into.
bool isSafeToWrite(std::string_view name) {
    return !name.empty() && text::isValidUtf8(name) &&
           std::none_of(name.begin(), name.end(), [](char c) {
               const auto byte = static_cast<unsigned char>(c);
               return byte < 0x20 || byte == 0x7f || c == '"' || c == '\\';
           });
}

bool isUsable(const NameEntry& entry) {
    switch (entry.kind) {
    case Kind::method:
        return isKeywordSelector(entry.from) && isKeywordSelector(entry.to) &&
               std::count(entry.from.begin(), entry.from.end(), ':') ==
                   std::count(entry.to.begin(), entry.to.end(), ':');
    case Kind::file:
        return isFileNameToken(baseName(entry.to)) && isSafeToWrite(baseName(entry.from));
    case Kind::unary:
    case Kind::property:
    case Kind::classType:
    case Kind::protocolType:
        break;
    }
    return isIdentifier(entry.from) && isIdentifier(entry.to);
}

std::string setterOf(std::string_view property) {
    std::string setter = "set" + std::string(property);
    if (setter[3] >= 'a' && setter[3] <= 'z') {
        setter[3] = static_cast<char>(setter[3] - 'a' + 'A');
    }
    return setter;
}

// How many bytes the backslash at `at` starts: an escape of JSON or C ends a token, and the
// letter of "\n" is no part of the name after it.
std::size_t escapeLength(std::string_view text, std::size_t at) {
    if (at + 1 >= text.size()) {
        return 1;
    }
    const char c = text[at + 1];
    if (c == 'u') {
        const auto hex = text.substr(at + 2, 4);
        return hex.size() == 4 && std::all_of(hex.begin(), hex.end(), isHexDigit) ? 6 : 1;
    }
    return std::string_view("\\\"/bfnrt").find(c) != std::string_view::npos ? 2 : 1;
}

struct Span {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::string_view in(std::string_view text) const { return text.substr(begin, end - begin); }
};

// "-[Class(Category) selector]" and "+[...]", as crash reports, symbolicated stacks and
// exception reasons write a method.
struct MethodSymbol {
    Span className;
    std::optional<Span> category;
    Span selector;
    std::size_t end = 0; // after the ']'
};

// The method symbol whose sign is at `at`, if one is written there.
std::optional<MethodSymbol> methodSymbolAt(std::string_view text, std::size_t at) {
    MethodSymbol symbol;
    std::size_t i = at + 2;
    symbol.className = {i, wordEnd(text, i)};
    if (!isIdentifier(symbol.className.in(text))) {
        return std::nullopt;
    }
    i = symbol.className.end;
    if (i < text.size() && text[i] == '(') {
        const Span category{i + 1, wordEnd(text, i + 1)};
        if (category.end >= text.size() || text[category.end] != ')' ||
            (category.end > category.begin && !isIdentifier(category.in(text)))) {
            return std::nullopt;
        }
        symbol.category = category;
        i = category.end + 1;
    }
    if (i >= text.size() || text[i] != ' ') {
        return std::nullopt;
    }
    symbol.selector = {i + 1, i + 1};
    while (symbol.selector.end < text.size() && isSelectorChar(text[symbol.selector.end])) {
        ++symbol.selector.end;
    }
    if (symbol.selector.end >= text.size() || text[symbol.selector.end] != ']' ||
        !isSelector(symbol.selector.in(text))) {
        return std::nullopt;
    }
    symbol.end = symbol.selector.end + 1;
    return symbol;
}

std::size_t spacesEnd(std::string_view text, std::size_t at) {
    while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) {
        ++at;
    }
    return at;
}

} // namespace

// The old name every meaning a token has agrees on; none when they disagree, or one of them
// already has two.
class NameTranslation::Agreement {
public:
    void add(std::string_view old, bool ambiguous) {
        if (old.empty()) {
            return;
        }
        conflict_ = conflict_ || ambiguous || (found_ && old != old_);
        old_ = old;
        found_ = true;
    }
    bool conflicting() const { return conflict_; }
    std::optional<std::string_view> old() const {
        return found_ && !conflict_ ? std::optional(old_) : std::nullopt;
    }

private:
    std::string_view old_;
    bool found_ = false;
    bool conflict_ = false;
};

// One translation of one text: the tokens from left to right, the bytes between them copied.
class NameTranslation::Pass {
public:
    Pass(const NameTranslation& names, std::string_view text) : names_(names), text_(text) {
        out_.reserve(text.size());
    }

    std::string run() && {
        std::size_t at = 0;
        while (at < text_.size()) {
            at = next(at);
        }
        out_.append(text_.substr(copied_));
        return std::move(out_);
    }

private:
    // Where the scan goes on after what starts at `at`.
    std::size_t next(std::size_t at) {
        const char c = text_[at];
        std::size_t after = at;
        if (c == '\\') {
            return at + escapeLength(text_, at);
        }
        if ((c == '-' || c == '+') && at + 1 < text_.size() && text_[at + 1] == '[') {
            after = methodSymbol(at);
        } else if (c == '@') {
            after = selectorExpression(at);
        }
        if (after == at && names_.hasFiles_ && at >= fileRunEnd_ && isFileNameChar(c)) {
            after = fileName(at);
        }
        if (after == at && isWordChar(c)) {
            after = word(at);
        }
        return after == at ? at + 1 : after;
    }

    void replace(Span span, std::string_view old) {
        out_.append(text_.substr(copied_, span.begin - copied_));
        out_.append(old);
        copied_ = span.end;
    }

    std::size_t methodSymbol(std::size_t at) {
        const auto symbol = methodSymbolAt(text_, at);
        if (!symbol) {
            return at;
        }
        if (const auto old = names_.oldName(symbol->className.in(text_), {Meaning::classType})) {
            replace(symbol->className, *old);
        }
        if (symbol->category) {
            if (const auto old = names_.oldIdentifier(symbol->category->in(text_))) {
                replace(*symbol->category, *old);
            }
        }
        if (const auto old = names_.oldSelector(symbol->selector.in(text_))) {
            replace(symbol->selector, *old);
        }
        return symbol->end;
    }

    std::size_t selectorExpression(std::size_t at) {
        constexpr std::string_view opening = "@selector(";
        if (!text_.substr(at).starts_with(opening)) {
            return at;
        }
        Span selector{spacesEnd(text_, at + opening.size()), 0};
        selector.end = selector.begin;
        while (selector.end < text_.size() && isSelectorChar(text_[selector.end])) {
            ++selector.end;
        }
        const auto close = spacesEnd(text_, selector.end);
        if (close >= text_.size() || text_[close] != ')' || !isSelector(selector.in(text_))) {
            return at;
        }
        if (const auto old = names_.oldSelector(selector.in(text_))) {
            replace(selector, *old);
        }
        return close + 1;
    }

    // A file name starting at `at`; the scan goes on inside it when it is none of the table's.
    std::size_t fileName(std::size_t at) {
        Span name{at, at};
        bool plain = true; // an identifier or a number, no file's name
        while (name.end < text_.size() && isFileNameChar(text_[name.end])) {
            plain = plain && isWordChar(text_[name.end]);
            ++name.end;
        }
        fileRunEnd_ = name.end;
        while (name.end > at && text_[name.end - 1] == '.') {
            --name.end;
        }
        const auto old = plain ? std::nullopt : names_.oldName(name.in(text_), {Meaning::file});
        if (!old) {
            return at;
        }
        replace(name, *old);
        return name.end;
    }

    std::size_t word(std::size_t at) {
        const Span word{at, wordEnd(text_, at)};
        if (isDigit(text_[at])) {
            return word.end;
        }
        if (word.end < text_.size() && text_[word.end] == ':') {
            return keywords(word);
        }
        if (const auto old = names_.oldBlockName(word.in(text_))) {
            replace(word, *old);
        } else if (const auto old = names_.oldIdentifier(word.in(text_))) {
            replace(word, *old);
        }
        return word.end;
    }

    // The pieces from `first` on, each right before a ':': one alone is a keyword of a message
    // or declaration (or a word before a colon), several together a selector.
    std::size_t keywords(Span first) {
        Span selector{first.begin, first.end + 1};
        while (selector.end < text_.size() && !isDigit(text_[selector.end])) {
            const auto end = wordEnd(text_, selector.end);
            if (end == selector.end || end >= text_.size() || text_[end] != ':') {
                break;
            }
            selector.end = end + 1;
        }
        if (selector.end == first.end + 1) {
            if (const auto old = names_.oldKeyword(selector.in(text_))) {
                replace(first, *old);
            }
        } else if (const auto old = names_.oldKeywords(selector.in(text_))) {
            replace(selector, *old);
        }
        return selector.end;
    }

    const NameTranslation& names_;
    std::string_view text_;
    std::string out_;
    std::size_t copied_ = 0;
    // The end of the last file name looked up: the scan is inside it until there.
    std::size_t fileRunEnd_ = 0;
};

NameTranslation::NameTranslation(const NameTable& table) {
    for (const auto& entry : table.entries()) {
        if (isUsable(entry)) {
            addEntry(entry);
        } else {
            leftOut_.push_back(entry);
        }
    }
}

void NameTranslation::addEntry(const NameEntry& entry) {
    switch (entry.kind) {
    case Kind::method: {
        add(entry.to, Meaning::selector, entry.from);
        std::vector<std::string_view> oldPieces;
        forEachPiece(entry.from, [&](std::string_view piece) { oldPieces.push_back(piece); });
        auto oldPiece = oldPieces.begin();
        forEachPiece(entry.to, [&](std::string_view piece) {
            add(std::string(piece), Meaning::piece, std::string(*oldPiece++));
        });
        break;
    }
    case Kind::unary:
        add(entry.to, Meaning::unary, entry.from);
        break;
    case Kind::property:
        add(entry.to, Meaning::property, entry.from);
        add("_" + entry.to, Meaning::ivar, "_" + entry.from);
        add(setterOf(entry.to), Meaning::setter, setterOf(entry.from));
        break;
    case Kind::classType:
        add(entry.to, Meaning::classType, entry.from);
        break;
    case Kind::protocolType:
        add(entry.to, Meaning::protocolType, entry.from);
        break;
    case Kind::file:
        add(std::string(baseName(entry.to)), Meaning::file, std::string(baseName(entry.from)));
        hasFiles_ = true;
        break;
    }
}

void NameTranslation::add(std::string key, Meaning meaning, std::string old) {
    auto& target = names_[std::move(key)][static_cast<std::size_t>(meaning)];
    if (target.old.empty()) {
        target.old = std::move(old);
    } else if (target.old != old) {
        target.ambiguous = true;
    }
}

void NameTranslation::consider(Agreement& agreement, std::string_view token,
                               std::initializer_list<Meaning> meanings, bool dropColon) const {
    const auto it = names_.find(token);
    if (it == names_.end()) {
        return;
    }
    for (const auto meaning : meanings) {
        const auto& target = it->second[static_cast<std::size_t>(meaning)];
        const std::string_view old = target.old;
        agreement.add(dropColon && meaning == Meaning::selector ? old.substr(0, old.size() - 1)
                                                                : old,
                      target.ambiguous);
    }
}

std::optional<std::string_view>
NameTranslation::oldName(std::string_view token, std::initializer_list<Meaning> meanings) const {
    Agreement agreement;
    consider(agreement, token, meanings);
    return agreement.old();
}

std::optional<std::string_view> NameTranslation::oldIdentifier(std::string_view word) const {
    return oldName(word, {Meaning::classType, Meaning::protocolType, Meaning::property,
                          Meaning::unary, Meaning::ivar});
}

std::optional<std::string_view> NameTranslation::oldKeyword(std::string_view keyword) const {
    Agreement agreement;
    consider(agreement, keyword.substr(0, keyword.size() - 1),
             {Meaning::piece, Meaning::setter, Meaning::classType, Meaning::protocolType,
              Meaning::property, Meaning::unary, Meaning::ivar});
    // The word may be a whole selector of one piece as well.
    consider(agreement, keyword, {Meaning::selector}, true);
    return agreement.old();
}

std::optional<std::string> NameTranslation::oldSelector(std::string_view selector) const {
    if (selector.find(':') == std::string_view::npos) {
        const auto old = oldName(selector, {Meaning::unary, Meaning::property});
        return old ? std::optional<std::string>(*old) : std::nullopt;
    }
    return oldKeywords(selector);
}

std::optional<std::string> NameTranslation::oldKeywords(std::string_view selector) const {
    const bool onePiece = selector.find(':') == selector.size() - 1;
    Agreement whole;
    consider(whole, selector, {Meaning::selector}, onePiece);
    if (onePiece) {
        consider(whole, selector.substr(0, selector.size() - 1), {Meaning::setter});
    }
    if (whole.conflicting()) {
        return std::nullopt;
    }
    if (const auto old = whole.old()) {
        return std::string(*old) + (onePiece ? ":" : "");
    }
    std::string old;
    bool complete = true;
    forEachPiece(selector, [&](std::string_view piece) {
        if (!piece.empty()) {
            const auto oldPiece = oldName(piece, {Meaning::piece});
            complete = complete && oldPiece.has_value();
            old += oldPiece.value_or("");
        }
        old += ':';
    });
    return complete ? std::optional(std::move(old)) : std::nullopt;
}

std::optional<std::string> NameTranslation::oldBlockName(std::string_view name) const {
    constexpr std::string_view invoke = "_block_invoke";
    if (!name.starts_with("__")) {
        return std::nullopt;
    }
    const auto at = name.rfind(invoke);
    if (at == std::string_view::npos) {
        return std::nullopt;
    }
    const auto number = name.substr(at + invoke.size());
    if (!number.empty() && (number.size() < 2 || number[0] != '_' ||
                            !std::all_of(number.begin() + 1, number.end(), isDigit))) {
        return std::nullopt;
    }
    // A symbol in a binary has one more underscore in front.
    for (const std::size_t underscores : {2u, 3u}) {
        if (at <= underscores || name[underscores - 1] != '_') {
            break;
        }
        if (const auto old = oldIdentifier(name.substr(underscores, at - underscores))) {
            return std::string(name.substr(0, underscores)) + std::string(*old) +
                   std::string(name.substr(at));
        }
    }
    return std::nullopt;
}

std::string NameTranslation::translate(std::string_view text) const {
    return Pass(*this, text).run();
}

} // namespace quillet
