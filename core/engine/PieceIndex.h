#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

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
    struct Hash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const {
            return std::hash<std::string_view>{}(s);
        }
    };
    const std::vector<std::uint32_t>& anchorsEndingRun(std::string_view run);
    void index(PieceRef ref);

    const std::vector<FileModel>& files_;
    std::unordered_map<std::string, std::uint32_t, Hash, std::equal_to<>> anchorIds_;
    std::size_t longestAnchor_ = 0;
    // Identifier runs seen before a colon, with the anchors each one ends with.
    std::unordered_map<std::string, std::vector<std::uint32_t>, Hash, std::equal_to<>> runs_;
    std::vector<std::vector<PieceRef>> postings_;
};

} // namespace quillet
