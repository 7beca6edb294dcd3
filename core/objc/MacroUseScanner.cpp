#include "objc/MacroUseScanner.h"

#include <algorithm>

#include "objc/BracketMatch.h"
#include "objc/Lexer.h"
#include "objc/SelectorText.h"

namespace quillet::objc {

namespace {

constexpr std::size_t longestSpelling = 1024;
// Tokens of an argument that pastes a keyword together, as "x ## Suffix"; longer is no keyword.
constexpr std::size_t longestPiece = 16;

} // namespace

void addMacroDefinition(MacroTable& table, MacroDefinition definition) {
    auto [found, added] = table.try_emplace(definition.name, definition);
    MacroDefinition& known = found->second;
    if (added || known == definition) {
        return;
    }
    known.parameterCount = std::max(known.parameterCount, definition.parameterCount);
    for (auto& selector : definition.selectors) {
        if (std::find(known.selectors.begin(), known.selectors.end(), selector) ==
            known.selectors.end()) {
            known.selectors.push_back(std::move(selector));
        }
    }
    for (const auto parameter : definition.stringized) {
        if (std::find(known.stringized.begin(), known.stringized.end(), parameter) ==
            known.stringized.end()) {
            known.stringized.push_back(parameter);
        }
    }
    for (auto& selector : known.selectors) {
        selector.exact = false;
    }
}

void MacroUseScanner::run(SourceFacts& facts) {
    const Lexed lexed = lex(text_, dialect_);
    const BracketMatch brackets(text_, lexed.tokens);
    const TokenView tokens(text_, lexed.tokens, brackets);
    UseRecorder uses(facts);
    std::size_t definedName = tokens.count();
    for (std::size_t i = 0; i < tokens.count(); ++i) {
        const Token& token = tokens[i];
        if (token.kind == TokenKind::directive) {
            enclosingParameters_.clear();
            definedName = tokens.count();
            if (directiveName(text_, token) == "define" && tokens.identifier(i + 1)) {
                definedName = i + 1;
                enclosingName_ = tokens.textOf(i + 1);
                const bool functionLike =
                    tokens.punct(i + 2, "(") && tokens[i + 2].offset == tokens[i + 1].end();
                for (std::size_t k = i + 3;
                     functionLike && k < tokens.count() && tokens[k].is(Token::inDirective) &&
                     !tokens.punct(k, ")");
                     ++k) {
                    if (tokens.identifier(k)) {
                        enclosingParameters_.push_back(tokens.textOf(k));
                    }
                }
            }
            continue;
        }
        if (!token.is(Token::inDirective)) {
            enclosingParameters_.clear();
        }
        if (i == definedName || !tokens.identifier(i) || !tokens.punct(i + 1, "(")) {
            continue;
        }
        if (const auto macro = macros_.find(tokens.textOf(i)); macro != macros_.end()) {
            use(tokens, macro->second, i + 1, uses);
        }
    }
}

// One use of `macro` whose argument list opens at `open`.
void MacroUseScanner::use(const TokenView& tokens, const MacroDefinition& macro, std::size_t open,
                          UseRecorder& uses) {
    const auto close = tokens.partner(open);
    if (close == BracketMatch::none || close < open) {
        return;
    }
    // Only parentheses group an argument; a comma in brackets or braces still splits.
    arguments_.clear();
    std::size_t start = open + 1;
    for (std::size_t k = open + 1; k < close;) {
        const auto inner = tokens.partner(k);
        if (tokens.punct(k, "(") && inner != BracketMatch::none && inner > k && inner < close) {
            k = inner + 1;
        } else if (tokens.punct(k, ",")) {
            arguments_.emplace_back(start, k);
            start = ++k;
        } else {
            ++k;
        }
    }
    arguments_.emplace_back(start, close);

    for (const auto& formed : macro.selectors) {
        if (forwardsParameter(tokens, formed)) {
            derive(tokens, formed);
            continue;
        }
        const Range spelledBy = argument(formed.spelledBy);
        if (formed.exact && (formed.spelledBy >= 0 ? spelledUse(tokens, spelledBy, uses)
                                                   : exactUse(tokens, formed, uses))) {
            continue;
        }
        std::string selector;
        if (formed.spelledBy >= 0) {
            selector = spelling(tokens, spelledBy);
        }
        for (const auto& keyword : formed.keywords) {
            for (const auto& piece : keyword) {
                selector += piece.parameter >= 0 ? spelling(tokens, argument(piece.parameter))
                                                 : piece.literal;
            }
            selector.push_back(':');
        }
        keptUse(std::move(selector), uses);
    }
    for (const auto parameter : macro.stringized) {
        if (const auto outer = forwardedAs(tokens, argument(parameter)); outer >= 0) {
            auto& stringized = enclosingDefinition().stringized;
            if (std::find(stringized.begin(), stringized.end(), outer) == stringized.end()) {
                stringized.push_back(outer);
            }
        } else {
            keptUse(spelling(tokens, argument(parameter)), uses);
        }
    }
}

// Whether an argument the template takes names a parameter of the macro being defined around
// the use, alone or pasted ("x ## Suffix").
bool MacroUseScanner::forwardsParameter(const TokenView& tokens,
                                        const MacroSelector& formed) const {
    const auto mentions = [&](std::int32_t parameter) {
        const Range range = argument(parameter);
        for (std::size_t k = range.first; k < range.second && k < range.first + longestPiece; ++k) {
            if (forwardedAs(tokens, {k, k + 1}) >= 0) {
                return true;
            }
        }
        return false;
    };
    if (mentions(formed.spelledBy)) {
        return true;
    }
    for (const auto& keyword : formed.keywords) {
        for (const auto& piece : keyword) {
            if (piece.parameter >= 0 && mentions(piece.parameter)) {
                return true;
            }
        }
    }
    return false;
}

// A use inside the body of another macro that passes that macro's parameter on: the other
// macro forms the template with its own parameter in place, and a rename never follows that.
void MacroUseScanner::derive(const TokenView& tokens, const MacroSelector& formed) {
    MacroSelector derived;
    derived.kind = formed.kind;
    if (formed.spelledBy >= 0) {
        derived.spelledBy = forwardedAs(tokens, argument(formed.spelledBy));
        if (derived.spelledBy < 0) {
            return; // pasted into a whole selector: no selector a rename could reach
        }
    }
    for (const auto& keyword : formed.keywords) {
        std::vector<MacroPiece> pieces;
        const auto append = [&](MacroPiece piece) {
            if (piece.parameter < 0 && !pieces.empty() && pieces.back().parameter < 0) {
                pieces.back().literal += piece.literal;
            } else {
                pieces.push_back(std::move(piece));
            }
        };
        for (const auto& piece : keyword) {
            if (piece.parameter < 0) {
                append(piece);
                continue;
            }
            const Range range = argument(piece.parameter);
            if (range.second - range.first > longestPiece) {
                return;
            }
            for (std::size_t k = range.first; k < range.second; ++k) {
                const auto outer = forwardedAs(tokens, {k, k + 1});
                if (outer >= 0) {
                    append({outer, {}});
                } else if (tokens.identifier(k) || tokens[k].kind == TokenKind::number) {
                    append({-1, std::string(tokens.textOf(k))});
                } else if (!tokens.punct(k, "##")) {
                    return; // no name: the use forms no selector
                }
            }
        }
        derived.keywords.push_back(std::move(pieces));
    }
    auto& selectors = enclosingDefinition().selectors;
    if (std::find(selectors.begin(), selectors.end(), derived) == selectors.end()) {
        selectors.push_back(std::move(derived));
    }
}

MacroDefinition& MacroUseScanner::enclosingDefinition() {
    auto [found, added] = derived_.try_emplace(std::string(enclosingName_));
    if (added) {
        found->second.name = enclosingName_;
        found->second.parameterCount = static_cast<std::uint32_t>(enclosingParameters_.size());
    }
    return found->second;
}

// The use of an exact template whose arguments are names: each keyword is an argument's span.
// False when an argument is no name.
bool MacroUseScanner::exactUse(const TokenView& tokens, const MacroSelector& formed,
                               UseRecorder& uses) const {
    for (const auto& keyword : formed.keywords) {
        if (!isName(tokens, argument(keyword.front().parameter))) {
            return false;
        }
    }
    SelectorUse use = uses.start(formed.kind);
    std::string selector;
    for (const auto& keyword : formed.keywords) {
        const std::size_t name = argument(keyword.front().parameter).first;
        uses.span(tokens[name].offset, tokens[name].length);
        selector.append(tokens.textOf(name)).push_back(':');
    }
    uses.keep(std::move(use), std::move(selector));
    return true;
}

// An argument that spells a whole selector, as "foo:bar:" for "@selector(sel)": its keywords'
// spans, as @selector(...) would have them. False when it is no selector.
bool MacroUseScanner::spelledUse(const TokenView& tokens, Range range, UseRecorder& uses) const {
    SelectorUse use = uses.start(UseKind::selectorExpression);
    std::string selector;
    for (std::size_t k = range.first; k < range.second; ++k) {
        const bool named = tokens.identifier(k) && k + 1 < range.second &&
                           (tokens.punct(k + 1, ":") || tokens.punct(k + 1, "::"));
        if (named) {
            uses.span(tokens[k].offset, tokens[k].length);
            selector.append(tokens.textOf(k)).push_back(':');
            ++k;
        } else if (tokens.punct(k, ":") || tokens.punct(k, "::")) {
            uses.span(tokens[k].offset, 0);
            selector.push_back(':');
        } else {
            uses.drop(use);
            return false;
        }
        if (tokens.punct(k, "::")) { // "foo::": the second keyword is empty
            uses.span(tokens[k].offset + 1, 0);
            selector.push_back(':');
        }
    }
    if (!isKeywordSelector(selector)) {
        uses.drop(use);
        return false;
    }
    uses.keep(std::move(use), std::move(selector));
    return true;
}

void MacroUseScanner::keptUse(std::string selector, UseRecorder& uses) const {
    if (isKeywordSelector(selector)) {
        uses.keep(uses.start(UseKind::macroFormed), std::move(selector));
    }
}

// The tokens of a parameter's argument in the use being read; none for a missing one.
MacroUseScanner::Range MacroUseScanner::argument(std::int32_t parameter) const {
    const auto p = static_cast<std::size_t>(parameter);
    return parameter >= 0 && p < arguments_.size() ? arguments_[p] : Range{0, 0};
}

// What an argument spells as "##" and "#" take it when it could be part of a selector: names,
// numbers and colons only, and not too long; nothing otherwise. Nested uses stay linear.
std::string MacroUseScanner::spelling(const TokenView& tokens, Range range) const {
    std::string text;
    for (std::size_t k = range.first; k < range.second; ++k) {
        const bool part = tokens.identifier(k) || tokens[k].kind == TokenKind::number ||
                          tokens.punct(k, ":") || tokens.punct(k, "::");
        if (!part || text.size() + tokens[k].length > longestSpelling) {
            return {};
        }
        text.append(tokens.textOf(k));
    }
    return text;
}

bool MacroUseScanner::isName(const TokenView& tokens, Range range) const {
    return range.second == range.first + 1 && tokens.identifier(range.first);
}

// The parameter of the macro being defined around the use that an argument passes on, or -1.
std::int32_t MacroUseScanner::forwardedAs(const TokenView& tokens, Range range) const {
    if (!isName(tokens, range)) {
        return -1;
    }
    const auto found = std::find(enclosingParameters_.begin(), enclosingParameters_.end(),
                                 tokens.textOf(range.first));
    return found == enclosingParameters_.end()
               ? -1
               : static_cast<std::int32_t>(found - enclosingParameters_.begin());
}

} // namespace quillet::objc
