#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/PieceIndex.h"
#include "engine/RenameStrategy.h"

namespace quillet {

class LiteralRename;

// Applies the rename pairs, in order, to the in-memory text of every file that can see each
// method. The result is byte for byte what rewriting every piece of every file in scope for
// every pair would give, but only pieces that may contain the old selector are visited.
class ReplacementPass {
public:
    explicit ReplacementPass(LiteralRename& tool) : tool_(tool) {}

    // Rewrites the files in memory. Tells `progress` of each pair before its files are
    // rewritten, and logs one entry per pair and one per file in scope.
    void run(const std::vector<RenamePair>& pairs, const PairProgress& progress);

private:
    struct Lookup {
        std::optional<std::uint32_t> anchor; // nothing: scan every piece in scope
    };
    std::vector<std::vector<Lookup>> anchorsOf(const std::vector<RenamePair>& pairs,
                                               std::vector<std::string>& anchors) const;
    void apply(const RenamePair& pair, const std::vector<Lookup>& lookups, std::uint32_t stamp);
    void rewritePiece(PieceRef ref, class PieceRewriter& rewriter, std::uint32_t stamp);

    LiteralRename& tool_;
    std::optional<PieceIndex> index_;
    std::vector<std::uint32_t> fileStamp_;  // pair number (from 1) whose scope holds the file
    std::vector<std::uint32_t> pieceStamp_; // pair number that has visited the piece
    std::vector<std::uint32_t> firstPiece_; // position of each file's first piece in pieceStamp_
};

} // namespace quillet
