#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/StringHash.h"

namespace quillet {

class FileModel;

struct PieceRef {
    std::uint32_t file;
    std::uint32_t piece;
};

// Finds the ";"-pieces that may contain a selector piece without scanning every file.
//
// A selector piece such as "count:" is looked up by its anchor: the run of identifier characters
// right before one of its colons ("count"). Every colon in the project's text is indexed under
// each anchor that its own preceding identifier run ends with, so "recount:" is found for
// "count" as well. A piece that contains the selector piece has such a colon, so it is always
// among the candidates; callers still test the text itself. Entries are only ever added: a
// rewritten piece is indexed again (a new name can create a later rename's old piece), and
// stale entries are harmless.
class PieceIndex {
public:
    // The anchor of a selector piece: the longest identifier run before any of its colons.
    // Nothing when no colon has one (the piece can then only be found by a full scan).
    static std::optional<std::string> anchorOf(std::string_view selectorPiece);

    // `anchors` must be distinct; an anchor's id is its position.
    PieceIndex(const std::vector<FileModel>& files, const std::vector<std::string>& anchors);

    // Candidate pieces for an anchor (an index into the anchors given at construction).
    const std::vector<PieceRef>& candidates(std::uint32_t anchor) const {
        return postings_[anchor];
    }
    void reindex(PieceRef ref);

private:
    const std::vector<std::uint32_t>& anchorsEndingRun(std::string_view run);
    void index(PieceRef ref);

    const std::vector<FileModel>& files_;
    text::StringMap<std::uint32_t> anchorIds_;
    std::size_t longestAnchor_ = 0;
    // Identifier runs seen before a colon, with the anchors each one ends with.
    text::StringMap<std::vector<std::uint32_t>> runs_;
    std::vector<std::vector<PieceRef>> postings_;
};

} // namespace quillet
