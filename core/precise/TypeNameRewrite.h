#pragma once

#include <vector>

#include "engine/TypeName.h"
#include "precise/ProjectIndex.h"
#include "precise/SourceFile.h"

namespace quillet {

// Renames classes and protocols where the files the run writes name them so that a rename
// follows (see TypeNameScan), after the selectors are rewritten: the files are read again for
// the old names, as the rewrite moved what was read before. Every other byte stays as it was.
void rewriteTypeNames(std::vector<SourceFile>& files, const ProjectIndex& index,
                      const std::vector<TypeRename>& renames);

} // namespace quillet
