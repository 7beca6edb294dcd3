#include "engine/PieceRewriter.h"

#include <algorithm>
#include <optional>

#include "engine/DeclarationPredicate.h"
#include "text/Text.h"

namespace quillet {

PieceRewriter::PieceRewriter(const RenamePair& pair, const DeclarationPredicate& predicate)
    : predicate_(predicate), oldSelectorCall_("@selector(" + pair.old.selector() + ")"),
      newSelectorCall_("@selector(" + pair.new_.selector() + ")"), oldPieces_(pair.old.elements),
      newPieces_(pair.new_.elements) {
    for (std::size_t k = 0; k < oldPieces_.size(); ++k) {
        oldAfterBlank_.push_back(" " + oldPieces_[k]);
        newAfterBlank_.push_back(k < newPieces_.size() ? " " + newPieces_[k] : " ");
        // The first piece may also follow ")", as in a signature "-(void)foo:"; so may any later
        // piece spelled exactly like it.
        oldAfterParen_.push_back(oldPieces_[k] == oldPieces_.front() ? ")" + oldPieces_[k] : "");
    }
}

bool PieceRewriter::rewrite(std::string& piece, char separator) {
    // A sub-piece can only change if the whole piece holds what it looks for.
    if (!mayChange(piece)) {
        return false;
    }
    if (piece.find(separator) == std::string::npos) {
        return rewriteSubPiece(piece);
    }
    // Sub-pieces are rewritten one by one; the piece is rebuilt only from the first change on.
    std::string rebuilt;
    bool changed = false;
    std::string subPiece;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = std::min(piece.find(separator, start), piece.size());
        const std::string_view original = std::string_view(piece).substr(start, end - start);
        bool subChanged = false;
        if (mayChange(original)) {
            subPiece.assign(original);
            subChanged = rewriteSubPiece(subPiece);
        }
        if (subChanged && !changed) {
            rebuilt.assign(piece, 0, start);
            changed = true;
        }
        if (changed) {
            rebuilt += subChanged ? std::string_view(subPiece) : original;
            if (end < piece.size()) {
                rebuilt += separator;
            }
        }
        if (end == piece.size()) {
            break;
        }
        start = end + 1;
    }
    if (changed) {
        piece = std::move(rebuilt);
    }
    return changed;
}

bool PieceRewriter::mayChange(std::string_view text) const {
    return text::contains(text, oldSelectorCall_) ||
           (!oldPieces_.empty() && allPiecesPresent(text));
}

bool PieceRewriter::allPiecesPresent(std::string_view text) const {
    for (std::size_t k = 0; k < oldPieces_.size(); ++k) {
        const bool present =
            text::contains(text, oldAfterBlank_[k]) ||
            (!oldAfterParen_[k].empty() && text::contains(text, oldAfterParen_[k]));
        if (!present) {
            return false;
        }
    }
    return true;
}

// Called only for text that mayChange().
bool PieceRewriter::rewriteSubPiece(std::string& text) {
    if (text::contains(text, oldSelectorCall_)) {
        return text::replaceAll(text, oldSelectorCall_, newSelectorCall_);
    }
    bool changed = false;
    // The text is judged again before every piece, but the verdict only changes with the text.
    std::optional<bool> declaration;
    for (std::size_t k = 0; k < oldPieces_.size(); ++k) {
        if (!declaration) {
            declaration = predicate_.matches(text);
        }
        const std::string& replacement = k < newPieces_.size() ? newPieces_[k] : std::string();
        const bool replaced = *declaration
                                  ? text::replaceAll(text, oldPieces_[k], replacement)
                                  : text::replaceAll(text, oldAfterBlank_[k], newAfterBlank_[k]);
        if (replaced) {
            changed = true;
            declaration.reset();
        }
    }
    return changed;
}

} // namespace quillet
