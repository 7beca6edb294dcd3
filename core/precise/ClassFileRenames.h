#pragma once

#include <string>
#include <vector>

#include "engine/TypeName.h"
#include "precise/FileMoves.h"
#include "precise/ProjectIndex.h"
#include "precise/SourceFile.h"

namespace quillet {

// A renamed class takes its files with it: Foo.h, Foo.m, Foo.mm and the category files
// Foo+Anything.h/.m/.mm move to the new name in their folders, and the imports of them and the
// Xcode projects that list them follow. All of a class's files move or none do: none when one of
// them is not a file the run writes (ignored, not parsed, a link), when a new name is taken on
// disk (whatever the case of its letters, as macOS sees it), or when an import, a project or a
// listing of sources (SourceListings) names one in a way the rename cannot follow. The log says
// why.
class ClassFileRenames {
public:
    ClassFileRenames(std::vector<SourceFile>& files, const ProjectIndex& index,
                     std::string rootPath, const std::vector<std::string>& listedPaths);

    // Moves the files and rewrites their imports and projects in memory, after the classes'
    // names are rewritten.
    void run(const std::vector<TypeRename>& renames);

private:
    std::vector<PlannedMove> plan(const std::vector<TypeRename>& renames,
                                  std::vector<MoveRefusal>& refusals) const;
    bool writes(std::size_t file) const;

    std::vector<SourceFile>& files_;
    const ProjectIndex& index_;
    std::string rootPath_;
    const std::vector<std::string>& listedPaths_;
};

} // namespace quillet
