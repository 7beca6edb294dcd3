#pragma once

#include <string>
#include <vector>

#include "engine/MethodModel.h"
#include "engine/RenameStrategy.h"
#include "precise/ProjectIndex.h"
#include "precise/SourceFile.h"

namespace quillet {

// Renames selectors where they are written, and nowhere else: in every file a run may write
// (read, parsed, not ignored), each declaration, definition, message, @selector(...), string
// literal and interface file action whose whole selector is an old one gets the new keywords in
// place of the old ones. Every other byte stays as it was.
class SelectorRewrite {
public:
    SelectorRewrite(std::vector<SourceFile>& files, const ProjectIndex& index)
        : files_(files), index_(index) {}

    // Rewrites the files in memory, telling `progress` of the pairs as the files get done, and
    // logs, per pair, the old selector and each file it was rewritten in.
    void run(const std::vector<RenamePair>& pairs, const PairProgress& progress);

private:
    // Rewrites one file; returns the pairs (by position) whose selectors it held.
    std::vector<std::uint32_t> rewriteFile(std::size_t file, const std::vector<RenamePair>& pairs);

    std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    text::StringMap<std::uint32_t> pairOf_; // old selector -> position in the pairs
};

} // namespace quillet
