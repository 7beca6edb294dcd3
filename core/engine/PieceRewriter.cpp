#include "engine/PieceRewriter.h"

#include <optional>

#include "engine/DeclarationPredicate.h"
#include "text/Text.h"

namespace quillet {

PieceRewriter::PieceRewriter(const RenamePair& pair, DeclarationPredicate& predicate)
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
    if (piece.find(separator) == std::string::npos) {
        return rewriteSubPiece(piece);
    }
    auto subPieces = text::split(piece, separator);
    bool changed = false;
    for (auto& subPiece : subPieces) {
        changed = rewriteSubPiece(subPiece) || changed;
    }
    if (changed) {
        piece = text::join(subPieces, std::string_view(&separator, 1));
    }
    return changed;
}

bool PieceRewriter::allPiecesPresent(const std::string& text) const {
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

bool PieceRewriter::rewriteSubPiece(std::string& text) {
    if (text::contains(text, oldSelectorCall_)) {
        return text::replaceAll(text, oldSelectorCall_, newSelectorCall_);
    }
    if (oldPieces_.empty() || !allPiecesPresent(text)) {
        return false;
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
