#pragma once

#include <string>
#include <vector>

#include "engine/FileModel.h"
#include "engine/MethodModel.h"
#include "precise/ProjectIndex.h"

namespace quillet {

// Renames selectors where they are written, and nowhere else: in every file a run may write
// (read, parsed, not ignored), each declaration, definition, message, @selector(...), string
// literal and interface file action whose whole selector is an old one gets the new keywords in
// place of the old ones. Every other byte stays as it was.
class SelectorRewrite {
public:
    SelectorRewrite(std::vector<FileModel>& files, const ProjectIndex& index)
        : files_(files), index_(index) {}

    // Rewrites the files in memory; returns the name list. Posts one progress notification per
    // pair and logs, per pair, the old selector and each file it was rewritten in.
    std::string run(const std::vector<RenamePair>& pairs);

private:
    // Rewrites one file; returns the pairs (by position) whose selectors it held.
    std::vector<std::uint32_t> rewriteFile(std::size_t file, const std::vector<RenamePair>& pairs);

    std::vector<FileModel>& files_;
    const ProjectIndex& index_;
    text::StringMap<std::uint32_t> pairOf_; // old selector -> position in the pairs
};

} // namespace quillet
