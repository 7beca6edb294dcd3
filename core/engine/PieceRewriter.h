#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "engine/MethodModel.h"

namespace quillet {

class DeclarationPredicate;

// Applies one rename to the ";"-pieces of a file. Purely textual: each piece is cut at the
// file's separator and every sub-piece is rewritten on its own, as a `@selector(...)`, as a
// declaration or signature (the predicate matches), or as a call site.
class PieceRewriter {
public:
    PieceRewriter(const RenamePair& pair, const DeclarationPredicate& predicate);

    // Returns whether the piece changed.
    bool rewrite(std::string& piece, char separator);

private:
    bool rewriteSubPiece(std::string& text);
    bool mayChange(std::string_view text) const;
    bool allPiecesPresent(std::string_view text) const;

    const DeclarationPredicate& predicate_;
    std::string oldSelectorCall_;
    std::string newSelectorCall_;
    std::vector<std::string> oldPieces_;
    std::vector<std::string> newPieces_;
    std::vector<std::string> oldAfterBlank_;
    std::vector<std::string> newAfterBlank_;
    std::vector<std::string> oldAfterParen_; // empty where only a blank may come before it
};

} // namespace quillet
