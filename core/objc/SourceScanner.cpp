#include "objc/SourceScanner.h"

#include <algorithm>
#include <array>
#include <unordered_set>

#include "objc/BracketMatch.h"
#include "objc/Lexer.h"
#include "objc/SelectorText.h"

namespace quillet::objc {

namespace {

constexpr std::size_t maximumProblemsReported = 3;

// Words after which "[" starts a message rather than a subscript.
bool startsAnExpression(std::string_view word) {
    static constexpr std::array<std::string_view, 14> words = {
        "return", "case",     "else",     "do",        "in",  "throw", "delete",
        "sizeof", "co_await", "co_yield", "co_return", "and", "or",    "not"};
    return std::find(words.begin(), words.end(), word) != words.end();
}

class Scanner {
public:
    Scanner(std::string_view text, Dialect dialect)
        : text_(text), lexed_(lex(text, dialect)), tokens_(lexed_.tokens),
          brackets_(text, tokens_) {}

    SourceFacts run(ScanDepth depth) {
        scanBlocks();
        if (depth == ScanDepth::everything) {
            scanExpressions();
        }
        reportProblems();
        return std::move(facts_);
    }

private:
    // An item of a bracket's contents: one token, or a whole bracketed group.
    struct Item {
        std::uint32_t first;
        std::uint32_t last;
    };

    struct Extent {
        std::size_t first;
        std::size_t end;
        std::int32_t container;
        bool implementation;
    };

    std::size_t count() const { return tokens_.size(); }
    std::string_view textOf(std::size_t i) const { return tokens_[i].in(text_); }

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
            const auto partner = brackets_.partner(i);
            if (partner != BracketMatch::none && partner > i) {
                return partner + 1;
            }
        }
        return i + 1;
    }

    void addSpan(std::uint32_t offset, std::uint32_t length) {
        facts_.spans.push_back({offset, length});
    }

    void record(SelectorUse use, std::string selector) {
        use.selector = std::move(selector);
        use.spanCount = static_cast<std::uint32_t>(facts_.spans.size()) - use.firstSpan;
        facts_.uses.push_back(std::move(use));
    }

    // --- @interface, @protocol and @implementation blocks -----------------------------------

    void scanBlocks() {
        scanBlockKeywords();
        scanAlternativeSignatures();
    }

    void scanBlockKeywords() {
        std::size_t i = 0;
        while (i < count()) {
            const Token& token = tokens_[i];
            if (token.kind == TokenKind::atKeyword && !token.is(Token::inDirective)) {
                const auto word = textOf(i);
                if (word == "@interface" || word == "@implementation" || word == "@protocol") {
                    i = block(i);
                    continue;
                }
            }
            ++i;
        }
    }

    bool startsBlock(std::size_t i) const {
        return atKeyword(i, "@interface") || atKeyword(i, "@implementation") ||
               atKeyword(i, "@protocol");
    }

    // Reads a block from its keyword to its @end; returns the token after it.
    std::size_t block(std::size_t start) {
        Container container;
        const auto word = textOf(start);
        container.kind = word == "@interface"   ? Container::Kind::interface
                         : word == "@protocol" ? Container::Kind::protocol
                                               : Container::Kind::implementation;
        std::size_t i = start + 1;
        if (!identifier(i)) {
            return i; // @protocol(Name) is an expression
        }
        container.name = textOf(i++);
        if (container.kind == Container::Kind::protocol && (punct(i, ";") || punct(i, ","))) {
            return i; // a forward declaration
        }
        while (i < count()) {
            if (punct(i, "<")) {
                i = pastAngles(i);
            } else if (punct(i, ":") && identifier(i + 1)) {
                container.superclass = textOf(i + 1);
                i += 2;
            } else if (punct(i, "(")) {
                container.category = true;
                i = past(i);
            } else {
                break;
            }
        }
        const auto index = static_cast<std::int32_t>(facts_.containers.size());
        const bool implementation = container.kind == Container::Kind::implementation;
        facts_.containers.push_back(std::move(container));
        while (i < count() && !atKeyword(i, "@end") && !startsBlock(i)) {
            if (tokens_[i].is(Token::inDirective)) {
                ++i;
            } else if (punct(i, "-") || punct(i, "+")) {
                i = method(i, index, implementation);
            } else {
                i = past(i);
            }
        }
        blocks_.push_back({start, i, index, implementation});
        return atKeyword(i, "@end") ? i + 1 : i;
    }

    // "#if A / - (void)f:(A *)a { / #else / - (void)f:(B *)b { / #endif" gives one body to two
    // signatures; the body is skipped after the first, so the other one is read here.
    void scanAlternativeSignatures() {
        for (std::size_t i = 0; i < count(); ++i) {
            if (tokens_[i].kind != TokenKind::directive) {
                continue;
            }
            const auto name = directiveName(text_, tokens_[i]);
            if (name != "else" && name != "elif") {
                continue;
            }
            std::size_t next = i + 1;
            while (next < count() && tokens_[next].is(Token::inDirective)) {
                ++next;
            }
            if (!(punct(next, "-") || punct(next, "+")) || methodStarts_.contains(next)) {
                continue;
            }
            // The last block starting before the signature, if the signature is inside it.
            const auto after = std::upper_bound(
                blocks_.begin(), blocks_.end(), next,
                [](std::size_t token, const Extent& block) { return token < block.first; });
            if (after != blocks_.begin() && next < std::prev(after)->end) {
                const auto& block = *std::prev(after);
                method(next, block.container, block.implementation);
            }
        }
    }

    // Past a list in angle brackets (generic parameters, protocols); stops early at anything
    // that cannot be inside one.
    std::size_t pastAngles(std::size_t i) const {
        int depth = 0;
        for (; i < count(); ++i) {
            if (punct(i, "<")) {
                ++depth;
            } else if (punct(i, ">")) {
                --depth;
            } else if (punct(i, ">>")) {
                depth -= 2;
            } else if (punct(i, ";") || punct(i, "{") || punct(i, "-") || punct(i, "+") ||
                       tokens_[i].kind == TokenKind::atKeyword) {
                return i;
            }
            if (depth <= 0) {
                return i + 1;
            }
        }
        return i;
    }

    // A method declaration or definition starting at its "-" or "+"; returns the token after it
    // (after the body of a definition).
    std::size_t method(std::size_t start, std::int32_t container, bool implementation) {
        methodStarts_.insert(start);
        SelectorUse use;
        use.kind = implementation ? UseKind::definition : UseKind::declaration;
        use.container = container;
        use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
        std::string selector;
        std::size_t i = start + 1;
        if (punct(i, "(")) {
            i = past(i); // the return type
        }
        while (i < count()) {
            if (identifier(i) && punct(i + 1, ":")) {
                addSpan(tokens_[i].offset, tokens_[i].length);
                selector.append(textOf(i)).push_back(':');
                i += 2;
            } else if (!selector.empty() && punct(i, ":")) {
                addSpan(tokens_[i].offset, 0);
                selector.push_back(':');
                ++i;
            } else {
                break;
            }
            if (punct(i, "(")) {
                i = past(i); // the parameter's type
            }
            if (identifier(i)) {
                ++i; // the parameter's name, which may be followed by an empty keyword
            }
        }
        const std::size_t end = signatureEnd(i);
        use.blockTyped =
            std::any_of(tokens_.begin() + static_cast<std::ptrdiff_t>(start),
                        tokens_.begin() + static_cast<std::ptrdiff_t>(end), [&](const Token& t) {
                            return t.kind == TokenKind::punctuator && t.in(text_) == "^";
                        });
        if (selector.empty()) {
            facts_.spans.resize(use.firstSpan);
        } else {
            record(std::move(use), std::move(selector));
        }
        if (implementation) {
            const std::size_t body = punct(end, ";") && punct(end + 1, "{") ? end + 1 : end;
            if (punct(body, "{")) {
                return past(body);
            }
        }
        return punct(end, ";") ? end + 1 : end;
    }

    // The ";" or "{" that ends a signature (after its attributes and a variadic ", ..."), or the
    // token that starts the next member when neither comes first.
    std::size_t signatureEnd(std::size_t i) const {
        while (i < count()) {
            const Token& token = tokens_[i];
            if (token.is(Token::inDirective)) {
                ++i;
            } else if (punct(i, ";") || punct(i, "{") || punct(i, "-") || punct(i, "+") ||
                       token.kind == TokenKind::atKeyword) {
                return i;
            } else {
                i = past(i);
            }
        }
        return i;
    }

    // --- message sends, @selector(...) and string literals ----------------------------------

    void scanExpressions() {
        std::size_t implementation = 0;
        for (std::size_t i = 0; i < count(); ++i) {
            const Token& token = tokens_[i];
            if (token.kind == TokenKind::punctuator && textOf(i) == "[") {
                while (
                    implementation < blocks_.size() &&
                    (blocks_[implementation].end <= i || !blocks_[implementation].implementation)) {
                    ++implementation;
                }
                const bool inside =
                    implementation < blocks_.size() && blocks_[implementation].first <= i;
                message(i, inside ? blocks_[implementation].container : -1);
            } else if (token.kind == TokenKind::atKeyword && textOf(i) == "@selector") {
                selectorExpression(i);
            } else if (token.kind == TokenKind::string) {
                stringLiteral(token);
            }
        }
    }

    // Whether "[" after token `previous` can start a message (rather than a subscript).
    bool mayStartMessage(std::size_t previous, std::size_t open) const {
        const Token& token = tokens_[previous];
        if (token.is(Token::inDirective) != tokens_[open].is(Token::inDirective)) {
            return true;
        }
        switch (token.kind) {
        case TokenKind::identifier:
            return startsAnExpression(textOf(previous));
        case TokenKind::number:
        case TokenKind::string:
        case TokenKind::character:
        case TokenKind::headerName:
            return false;
        case TokenKind::atKeyword:
        case TokenKind::directive:
            return true;
        case TokenKind::punctuator:
            return textOf(previous) != "]" && textOf(previous) != "@";
        }
        return true;
    }

    bool endsExpression(const Item& item) const {
        const Token& token = tokens_[item.last];
        switch (token.kind) {
        case TokenKind::identifier:
        case TokenKind::number:
        case TokenKind::string:
        case TokenKind::character:
        case TokenKind::atKeyword:
            return true;
        case TokenKind::punctuator: {
            const auto text = token.in(text_);
            return text == ")" || text == "]" || text == "}" || text == ">" || text == ">>" ||
                   text == "++" || text == "--";
        }
        case TokenKind::headerName:
        case TokenKind::directive:
            return false;
        }
        return false;
    }

    bool itemIsIdentifier(const Item& item) const {
        return item.first == item.last && identifier(item.first);
    }
    bool itemIs(const Item& item, std::string_view p) const {
        return item.first == item.last && punct(item.first, p);
    }

    // The contents of a bracket as items; false when something in it is not closed inside it.
    bool itemsOf(std::size_t open, std::size_t close) {
        items_.clear();
        const bool inDirective = tokens_[open].is(Token::inDirective);
        for (std::size_t i = open + 1; i < close;) {
            const Token& token = tokens_[i];
            if (token.kind == TokenKind::directive || token.is(Token::inDirective) != inDirective) {
                ++i; // a conditional line inside the brackets
                continue;
            }
            std::size_t last = i;
            if (opens(i)) {
                last = brackets_.partner(i);
                if (last == BracketMatch::none || last >= close || last < i) {
                    return false;
                }
            }
            items_.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(last)});
            i = last + 1;
        }
        return true;
    }

    // Where the first keyword of a message starts among the items: the first "name:" that
    // follows a complete receiver expression.
    std::size_t firstKeyword() const {
        for (std::size_t k = 1; k + 1 < items_.size(); ++k) {
            if (itemIsIdentifier(items_[k]) && itemIs(items_[k + 1], ":") &&
                endsExpression(items_[k - 1])) {
                return k;
            }
        }
        return items_.size();
    }

    void message(std::size_t open, std::int32_t container) {
        const auto close = brackets_.partner(open);
        if (close == BracketMatch::none || close < open) {
            return;
        }
        if (open > 0 && !mayStartMessage(open - 1, open)) {
            return;
        }
        if (!itemsOf(open, close)) {
            return;
        }
        const std::size_t first = firstKeyword();
        if (first >= items_.size()) {
            return; // a unary message, a subscript, a lambda's captures, an attribute
        }
        SelectorUse use;
        use.kind = first == 1 && itemIsIdentifier(items_[0]) && textOf(items_[0].first) == "super"
                       ? UseKind::superSend
                       : UseKind::send;
        use.container = container;
        use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
        std::string selector;
        int openTernaries = 0;
        bool argument = false; // the current keyword's argument has begun
        for (std::size_t k = first; k < items_.size(); ++k) {
            const Item& item = items_[k];
            const bool keyword = !argument && k == first;
            const bool named = itemIsIdentifier(item) && k + 1 < items_.size() &&
                               itemIs(items_[k + 1], ":") && openTernaries == 0 && argument &&
                               endsExpression(items_[k - 1]);
            if (keyword || named) {
                addSpan(tokens_[item.first].offset, tokens_[item.first].length);
                selector.append(textOf(item.first)).push_back(':');
                argument = false;
                ++k; // the colon
            } else if (itemIs(item, "?")) {
                ++openTernaries;
                argument = true;
            } else if (itemIs(item, ":") && openTernaries > 0) {
                --openTernaries;
            } else if (itemIs(item, ":") && argument) {
                addSpan(tokens_[item.first].offset, 0); // an empty keyword
                selector.push_back(':');
                argument = false;
            } else if (itemIs(item, ":")) {
                facts_.spans.resize(use.firstSpan);
                return; // a colon where an argument should be: not a message
            } else {
                argument = true;
            }
        }
        if (!argument) {
            facts_.spans.resize(use.firstSpan);
            return; // the last keyword has no argument
        }
        record(std::move(use), std::move(selector));
    }

    void selectorExpression(std::size_t at) {
        if (!punct(at + 1, "(")) {
            return;
        }
        const auto close = brackets_.partner(at + 1);
        if (close == BracketMatch::none || close < at) {
            return;
        }
        SelectorUse use;
        use.kind = UseKind::selectorExpression;
        use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
        std::string selector;
        for (std::size_t i = at + 2; i < close; ++i) {
            const Token& token = tokens_[i];
            const bool named = identifier(i) && (punct(i + 1, ":") || punct(i + 1, "::"));
            if (named) {
                addSpan(token.offset, token.length);
                selector.append(textOf(i)).push_back(':');
                ++i; // to the colon
            }
            if (punct(i, ":") && !named) {
                addSpan(tokens_[i].offset, 0);
                selector.push_back(':');
            } else if (punct(i, "::")) {
                // "foo::" is two keywords, the second one empty.
                if (!named) {
                    addSpan(tokens_[i].offset, 0);
                    selector.push_back(':');
                }
                addSpan(tokens_[i].offset + 1, 0);
                selector.push_back(':');
            } else if (!named) {
                facts_.spans.resize(use.firstSpan);
                return; // a unary selector, or something else
            }
        }
        if (!isKeywordSelector(selector)) {
            facts_.spans.resize(use.firstSpan);
            return;
        }
        record(std::move(use), std::move(selector));
    }

    void stringLiteral(const Token& token) {
        const std::uint32_t opening = token.is(Token::atString) ? 2 : 1;
        if (opening == 1 && text_[token.offset] != '"') {
            return; // L"...", u8"...", raw strings
        }
        if (token.length < opening + 1 || text_[token.end() - 1] != '"') {
            return; // unterminated
        }
        const std::uint32_t length = token.length - opening - 1;
        const auto content = text_.substr(token.offset + opening, length);
        if (!isKeywordSelector(content)) {
            return;
        }
        SelectorUse use;
        use.kind = UseKind::stringLiteral;
        use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
        addSpan(token.offset + opening, length);
        record(std::move(use), std::string(content));
    }

    // --- problems ---------------------------------------------------------------------------

    void reportProblems() {
        std::vector<LexProblem> all = lexed_.problems;
        all.insert(all.end(), brackets_.problems().begin(), brackets_.problems().end());
        std::sort(all.begin(), all.end(),
                  [](const LexProblem& a, const LexProblem& b) { return a.offset < b.offset; });
        std::size_t line = 1;
        std::size_t counted = 0;
        for (const auto& problem : all) {
            if (facts_.problems.size() == maximumProblemsReported) {
                break;
            }
            line += static_cast<std::size_t>(
                std::count(text_.begin() + static_cast<std::ptrdiff_t>(counted),
                           text_.begin() + static_cast<std::ptrdiff_t>(problem.offset), '\n'));
            counted = problem.offset;
            facts_.problems.push_back(problem.what + " at line " + std::to_string(line));
        }
    }

    std::string_view text_;
    Lexed lexed_;
    const std::vector<Token>& tokens_;
    BracketMatch brackets_;
    SourceFacts facts_;
    std::vector<Extent> blocks_; // token extents of the blocks, in order
    std::unordered_set<std::size_t> methodStarts_;
    std::vector<Item> items_;
};

} // namespace

SourceFacts scanSource(std::string_view text, Dialect dialect, ScanDepth depth) {
    return Scanner(text, dialect).run(depth);
}

} // namespace quillet::objc
