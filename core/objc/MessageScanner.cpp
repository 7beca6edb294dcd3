#include "objc/MessageScanner.h"

#include "objc/SelectorText.h"

namespace quillet::objc {

void MessageScanner::run() {
    auto nextSkipped = skipped_.begin();
    for (std::size_t i = 0; i < tokens_.count(); ++i) {
        if (nextSkipped != skipped_.end() && nextSkipped->first == i) {
            i = nextSkipped++->second - 1;
            continue;
        }
        const Token& token = tokens_[i];
        if (tokens_.punct(i, "[")) {
            message(i, implementationAround(i));
        } else if (tokens_.atKeyword(i, "@selector")) {
            selectorExpression(i);
        } else if (token.kind == TokenKind::string) {
            stringLiteral(token);
        }
    }
}

// The @implementation block around `token`, or -1; tokens are asked in increasing order.
std::int32_t MessageScanner::implementationAround(std::size_t token) {
    while (nextBlock_ < blocks_.size() &&
           (blocks_[nextBlock_].end <= token || !blocks_[nextBlock_].implementation)) {
        ++nextBlock_;
    }
    const bool inside = nextBlock_ < blocks_.size() && blocks_[nextBlock_].first <= token;
    return inside ? blocks_[nextBlock_].container : -1;
}

// "@[" opens an array literal. Any other "[" is a message when its contents have a message's
// shape, which a subscript, a lambda's captures or an attribute never has; so a message is found
// even after a name, as after the macros NS_DURING or a BEGIN_SCOPE that opens a block.
bool MessageScanner::isArrayLiteral(std::size_t open) const {
    return open > 0 && tokens_.punct(open - 1, "@") &&
           tokens_[open - 1].is(Token::inDirective) == tokens_[open].is(Token::inDirective);
}

bool MessageScanner::endsExpression(const Item& item) const {
    const Token& token = tokens_[item.last];
    switch (token.kind) {
    case TokenKind::identifier:
    case TokenKind::number:
    case TokenKind::string:
    case TokenKind::character:
    case TokenKind::atKeyword:
        return true;
    case TokenKind::punctuator: {
        const auto text = tokens_.textOf(item.last);
        return text == ")" || text == "]" || text == "}" || text == ">" || text == ">>" ||
               text == "++" || text == "--";
    }
    case TokenKind::headerName:
    case TokenKind::directive:
        return false;
    }
    return false;
}

bool MessageScanner::isIdentifier(const Item& item) const {
    return item.first == item.last && tokens_.identifier(item.first);
}

bool MessageScanner::is(const Item& item, std::string_view p) const {
    return item.first == item.last && tokens_.punct(item.first, p);
}

// The contents of a bracket as items; false when something in it is not closed inside it.
bool MessageScanner::readItems(std::size_t open, std::size_t close) {
    items_.clear();
    const bool inDirective = tokens_[open].is(Token::inDirective);
    for (std::size_t i = open + 1; i < close;) {
        const Token& token = tokens_[i];
        if (token.kind == TokenKind::directive || token.is(Token::inDirective) != inDirective) {
            ++i; // a conditional line inside the brackets
            continue;
        }
        std::size_t last = i;
        if (tokens_.opens(i)) {
            last = tokens_.partner(i);
            if (last == BracketMatch::none || last >= close || last < i) {
                return false;
            }
        }
        items_.push_back({static_cast<std::uint32_t>(i), static_cast<std::uint32_t>(last)});
        i = last + 1;
    }
    return true;
}

// Where the first keyword of a message starts among the items: the first "name:" that follows a
// complete receiver expression, outside a conditional ("m[flag ? (int) count : 0]" holds none).
std::size_t MessageScanner::firstKeyword() const {
    int openTernaries = 0;
    for (std::size_t k = 1; k + 1 < items_.size(); ++k) {
        if (is(items_[k - 1], "?")) {
            ++openTernaries;
        } else if (is(items_[k - 1], ":") && openTernaries > 0) {
            --openTernaries;
        }
        if (openTernaries == 0 && isIdentifier(items_[k]) && is(items_[k + 1], ":") &&
            endsExpression(items_[k - 1])) {
            return k;
        }
    }
    return items_.size();
}

void MessageScanner::message(std::size_t open, std::int32_t container) {
    const auto close = tokens_.partner(open);
    if (close == BracketMatch::none || close < open) {
        return;
    }
    if (isArrayLiteral(open)) {
        return;
    }
    if (!readItems(open, close)) {
        return;
    }
    const std::size_t first = firstKeyword();
    if (first >= items_.size()) {
        unaryMessage(container); // or a subscript, a lambda's captures, an attribute
        return;
    }
    const bool toSuper =
        first == 1 && isIdentifier(items_[0]) && tokens_.textOf(items_[0].first) == "super";
    SelectorUse use = uses_.start(toSuper ? UseKind::superSend : UseKind::send, container);
    std::string selector;
    int openTernaries = 0;
    bool argument = false; // the current keyword's argument has begun
    for (std::size_t k = first; k < items_.size(); ++k) {
        const Item& item = items_[k];
        const bool keyword = !argument && k == first;
        const bool named = isIdentifier(item) && k + 1 < items_.size() && is(items_[k + 1], ":") &&
                           openTernaries == 0 && argument && endsExpression(items_[k - 1]);
        if (keyword || named) {
            uses_.span(tokens_[item.first].offset, tokens_[item.first].length);
            selector.append(tokens_.textOf(item.first)).push_back(':');
            argument = false;
            ++k; // the colon
        } else if (is(item, "?")) {
            ++openTernaries;
            argument = true;
        } else if (is(item, ":") && openTernaries > 0) {
            --openTernaries;
        } else if (is(item, ":") && argument) {
            uses_.span(tokens_[item.first].offset, 0); // an empty keyword
            selector.push_back(':');
            argument = false;
        } else if (is(item, ":")) {
            uses_.drop(use);
            return; // a colon where an argument should be: not a message
        } else {
            argument = true;
        }
    }
    if (!argument) {
        uses_.drop(use);
        return; // the last keyword has no argument
    }
    uses_.keep(std::move(use), std::move(selector));
}

// "[receiver name]": a receiver expression, then one name.
void MessageScanner::unaryMessage(std::int32_t container) {
    const std::size_t count = items_.size();
    if (!uses_.recordsUnary() || count < 2 || !isIdentifier(items_[count - 1]) ||
        !endsExpression(items_[count - 2])) {
        return;
    }
    const bool toSuper =
        count == 2 && isIdentifier(items_[0]) && tokens_.textOf(items_[0].first) == "super";
    SelectorUse use = uses_.start(toSuper ? UseKind::superSend : UseKind::send, container);
    const Token& name = tokens_[items_[count - 1].first];
    uses_.span(name.offset, name.length);
    uses_.keep(std::move(use), std::string(tokens_.textOf(items_[count - 1].first)));
}

void MessageScanner::selectorExpression(std::size_t at) {
    if (!tokens_.punct(at + 1, "(")) {
        return;
    }
    const auto close = tokens_.partner(at + 1);
    if (close == BracketMatch::none || close < at) {
        return;
    }
    SelectorUse use = uses_.start(UseKind::selectorExpression);
    if (uses_.recordsUnary() && close == at + 3 && tokens_.identifier(at + 2)) {
        uses_.span(tokens_[at + 2].offset, tokens_[at + 2].length);
        uses_.keep(std::move(use), std::string(tokens_.textOf(at + 2)));
        return;
    }
    std::string selector;
    for (std::size_t i = at + 2; i < close; ++i) {
        const bool named =
            tokens_.identifier(i) && (tokens_.punct(i + 1, ":") || tokens_.punct(i + 1, "::"));
        if (named) {
            uses_.span(tokens_[i].offset, tokens_[i].length);
            selector.append(tokens_.textOf(i)).push_back(':');
            ++i; // to the colon
        }
        if (tokens_.punct(i, ":") && !named) {
            uses_.span(tokens_[i].offset, 0);
            selector.push_back(':');
        } else if (tokens_.punct(i, "::")) {
            // "foo::" is two keywords, the second one empty.
            if (!named) {
                uses_.span(tokens_[i].offset, 0);
                selector.push_back(':');
            }
            uses_.span(tokens_[i].offset + 1, 0);
            selector.push_back(':');
        } else if (!named) {
            uses_.drop(use);
            return; // a unary selector, or something else
        }
    }
    if (!isKeywordSelector(selector)) {
        uses_.drop(use);
        return;
    }
    uses_.keep(std::move(use), std::move(selector));
}

void MessageScanner::stringLiteral(const Token& token) {
    const std::string_view text = tokens_.text();
    const std::uint32_t opening = token.is(Token::atString) ? 2 : 1;
    if (opening == 1 && text[token.offset] != '"') {
        return; // L"...", u8"...", raw strings
    }
    if (token.length < opening + 1 || text[token.end() - 1] != '"') {
        return; // unterminated
    }
    const std::uint32_t length = token.length - opening - 1;
    const auto content = text.substr(token.offset + opening, length);
    if (!isKeywordSelector(content)) {
        return;
    }
    SelectorUse use = uses_.start(UseKind::stringLiteral);
    uses_.span(token.offset + opening, length);
    uses_.keep(std::move(use), std::string(content));
}

} // namespace quillet::objc
