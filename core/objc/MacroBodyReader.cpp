#include "objc/MacroBodyReader.h"

#include <algorithm>

#include "objc/BracketMatch.h"
#include "objc/Lexer.h"
#include "objc/MessageScanner.h"
#include "objc/MethodSignature.h"
#include "objc/TokenView.h"

namespace quillet::objc {

namespace {

bool isWord(const Token& token) {
    return token.kind == TokenKind::identifier || token.kind == TokenKind::number;
}

bool isPunct(std::string_view text, const Token& token, std::string_view p) {
    return token.kind == TokenKind::punctuator && token.in(text) == p;
}

// A key that equal templates share: each keyword's pieces, parameters by position.
std::string keyOf(const MacroSelector& selector) {
    std::string key;
    if (selector.spelledBy >= 0) {
        key.append("=").append(std::to_string(selector.spelledBy));
    }
    for (const auto& keyword : selector.keywords) {
        for (const auto& piece : keyword) {
            if (piece.parameter >= 0) {
                key.append("\x01").append(std::to_string(piece.parameter));
            } else {
                key.append("\x02").append(piece.literal);
            }
        }
        key += ':';
    }
    return key;
}

// Signatures a body writes, as in "- (void)sel:(id)x { ... }": a "-" or "+" that starts the
// body or follows a statement or a block.
void readSignatures(const TokenView& tokens, UseRecorder& uses) {
    for (std::size_t i = 0; i < tokens.count(); ++i) {
        const bool sign = tokens.punct(i, "-") || tokens.punct(i, "+");
        const bool starts = i == 0 || tokens.punct(i - 1, ";") || tokens.punct(i - 1, "}");
        if (!sign || !starts || !(tokens.punct(i + 1, "(") || tokens.identifier(i + 1))) {
            continue;
        }
        SelectorUse use = uses.start(UseKind::definition);
        std::string selector;
        readMethodKeywords(tokens, i, uses, selector);
        if (selector.empty()) {
            uses.drop(use);
        } else {
            uses.keep(std::move(use), std::move(selector));
        }
    }
}

} // namespace

MacroDefinition MacroBodyReader::read(UseRecorder& uses) {
    definition_ = {};
    templateAt_.clear();
    definition_.name = std::string(tokens_[macro_.nameToken].in(text_));
    definition_.parameterCount = static_cast<std::uint32_t>(macro_.parameters.size());
    base_ = tokens_[macro_.first].offset;
    for (std::size_t p = 0; p < macro_.parameters.size(); ++p) {
        parameterIndex_.try_emplace(macro_.parameters[p], static_cast<std::int32_t>(p));
    }
    written_.assign(macro_.parameters.size(), 0);
    keywordAt_.assign(macro_.parameters.size(), {});

    const std::string glued = gluedBody();
    const Lexed lexed = lex(glued, dialect_);
    const BracketMatch brackets(glued, lexed.tokens);
    const TokenView view(glued, lexed.tokens, brackets);
    SourceFacts local;
    UseRecorder localUses(local);
    const std::vector<BlockExtent> noBlocks;
    const MessageScanner::TokenRanges nothingSkipped;
    MessageScanner(view, localUses, noBlocks, nothingSkipped).run();
    readSignatures(view, localUses);
    for (const auto& use : local.uses) {
        addTemplate(use, local, uses);
    }
    for (std::size_t i = 0; i + 3 < view.count(); ++i) {
        if (view.atKeyword(i, "@selector") && view.punct(i + 1, "(") && view.identifier(i + 2) &&
            view.punct(i + 3, ")")) {
            if (const auto found = parameterIndex_.find(view.textOf(i + 2));
                found != parameterIndex_.end()) {
                addSpelledBy(found->second);
            }
        }
    }
    countParameters();
    decideExactness();
    return std::move(definition_);
}

// The body with each pasted run ("sel ## Suffix") made one identifier of the same length and
// each stringized parameter ("#sel") an identifier, so that the selector scans read a pasted
// keyword as one keyword and every offset still points into the file.
std::string MacroBodyReader::gluedBody() const {
    const std::uint32_t end = tokens_[macro_.end - 1].end();
    std::string body(text_.substr(base_, end - base_));
    const auto fill = [&](std::uint32_t from, std::uint32_t to, char c) {
        std::fill(body.begin() + (from - base_), body.begin() + (to - base_), c);
    };
    for (std::size_t k = macro_.first; k < macro_.end; ++k) {
        const Token& token = tokens_[k];
        if (isPunct(text_, token, "##")) {
            const bool joins = k > macro_.first && k + 1 < macro_.end && isWord(tokens_[k - 1]) &&
                               isWord(tokens_[k + 1]);
            if (joins) {
                fill(tokens_[k - 1].end(), tokens_[k + 1].offset, '_');
            } else {
                fill(token.offset, token.end(), ' ');
            }
        } else if (isPunct(text_, token, "#")) {
            if (k + 1 < macro_.end && tokens_[k + 1].kind == TokenKind::identifier) {
                fill(token.offset, tokens_[k + 1].offset, '_');
            } else {
                fill(token.offset, token.end(), ' ');
            }
        }
    }
    return body;
}

std::int32_t MacroBodyReader::parameterOf(std::size_t token) const {
    if (tokens_[token].kind != TokenKind::identifier) {
        return -1;
    }
    const auto found = parameterIndex_.find(tokens_[token].in(text_));
    return found == parameterIndex_.end() ? -1 : found->second;
}

// The pieces of the keyword written at [offset, offset + length) of the glued body: the
// parameters and literal text that the file's own tokens there paste together. Notes the first
// of those tokens in pieceStart_.
std::vector<MacroPiece> MacroBodyReader::piecesOf(std::uint32_t offset, std::uint32_t length) {
    const std::uint32_t from = base_ + offset;
    const std::uint32_t to = from + length;
    const auto first =
        std::lower_bound(tokens_.begin() + static_cast<std::ptrdiff_t>(macro_.first),
                         tokens_.begin() + static_cast<std::ptrdiff_t>(macro_.end), from,
                         [](const Token& token, std::uint32_t at) { return token.offset < at; });
    std::vector<MacroPiece> pieces;
    pieceStart_ = static_cast<std::size_t>(first - tokens_.begin());
    for (auto k = pieceStart_; k < macro_.end && tokens_[k].offset < to; ++k) {
        if (isPunct(text_, tokens_[k], "##") || isPunct(text_, tokens_[k], "#")) {
            continue;
        }
        if (const auto parameter = parameterOf(k); parameter >= 0) {
            pieces.push_back({parameter, {}});
        } else if (!pieces.empty() && pieces.back().parameter < 0) {
            pieces.back().literal.append(tokens_[k].in(text_));
        } else {
            pieces.push_back({-1, std::string(tokens_[k].in(text_))});
        }
    }
    return pieces;
}

// A use the glued body holds: the file's own use when its keywords are all written out, a
// template of the definition when a parameter or a paste is in one of them.
void MacroBodyReader::addTemplate(const SelectorUse& use, const SourceFacts& local,
                                  UseRecorder& uses) {
    const auto* spans = local.spans.data() + use.firstSpan;
    MacroSelector formed;
    formed.kind = use.kind == UseKind::superSend ? UseKind::send : use.kind;
    std::vector<std::int32_t> wholeParameter(use.spanCount, -1);
    bool writtenOut = true;
    for (std::uint32_t k = 0; k < use.spanCount && use.kind != UseKind::stringLiteral; ++k) {
        auto pieces = piecesOf(spans[k].offset, spans[k].length);
        // One token of the file's own: neither pasted nor stringized.
        const bool single = pieces.size() == 1 && spans[k].length == tokens_[pieceStart_].length;
        writtenOut = writtenOut && (pieces.empty() || (single && pieces[0].parameter < 0));
        wholeParameter[k] = single ? pieces[0].parameter : -1;
        formed.keywords.push_back(std::move(pieces));
    }
    if (writtenOut) {
        SelectorUse own = uses.start(use.kind);
        for (std::uint32_t k = 0; k < use.spanCount; ++k) {
            uses.span(base_ + spans[k].offset, spans[k].length);
        }
        uses.keep(std::move(own), use.selector);
        return;
    }
    const auto at = templateFor(std::move(formed));
    for (std::uint32_t k = 0; k < use.spanCount; ++k) {
        if (wholeParameter[k] >= 0) {
            keywordAt_[static_cast<std::size_t>(wholeParameter[k])].push_back({at, k});
        }
    }
}

void MacroBodyReader::addSpelledBy(std::int32_t parameter) {
    MacroSelector formed;
    formed.kind = UseKind::selectorExpression;
    formed.spelledBy = parameter;
    keywordAt_[static_cast<std::size_t>(parameter)].push_back({templateFor(std::move(formed)), 0});
}

// The position of the template equal to `formed` among the definition's, added if new.
std::size_t MacroBodyReader::templateFor(MacroSelector formed) {
    auto& selectors = definition_.selectors;
    const auto [found, added] = templateAt_.try_emplace(keyOf(formed), selectors.size());
    if (added) {
        selectors.push_back(std::move(formed));
    }
    return found->second;
}

// How often the body names each parameter, and which ones it spells as a string.
void MacroBodyReader::countParameters() {
    for (std::size_t k = macro_.first; k < macro_.end; ++k) {
        const auto parameter = parameterOf(k);
        if (parameter < 0) {
            continue;
        }
        ++written_[static_cast<std::size_t>(parameter)];
        auto& stringized = definition_.stringized;
        if (k > macro_.first && isPunct(text_, tokens_[k - 1], "#") &&
            std::find(stringized.begin(), stringized.end(), parameter) == stringized.end()) {
            stringized.push_back(parameter);
        }
    }
}

// A parameter can be renamed with a selector when the body writes it only as whole keywords at
// one place of one template; a template is exact when all its keywords are such parameters.
void MacroBodyReader::decideExactness() {
    std::vector<bool> dedicated(written_.size(), false);
    for (std::size_t p = 0; p < written_.size(); ++p) {
        const auto& at = keywordAt_[p];
        dedicated[p] = !at.empty() && written_[p] == at.size() &&
                       std::all_of(at.begin(), at.end(), [&](const auto& a) { return a == at[0]; });
    }
    const auto isDedicated = [&](std::int32_t p) {
        return p >= 0 && dedicated[static_cast<std::size_t>(p)];
    };
    for (auto& selector : definition_.selectors) {
        if (selector.spelledBy >= 0) {
            selector.exact = isDedicated(selector.spelledBy);
            continue;
        }
        selector.exact =
            !selector.keywords.empty() &&
            std::all_of(selector.keywords.begin(), selector.keywords.end(),
                        [&](const auto& pieces) {
                            return pieces.size() == 1 && isDedicated(pieces[0].parameter);
                        });
    }
}

} // namespace quillet::objc
