#pragma once

#include <vector>

#include "engine/TypeName.h"
#include "precise/ProjectIndex.h"
#include "precise/PropertyNameScan.h"
#include "precise/SourceFile.h"

namespace quillet {

// Renames properties where the files the run writes name them so that a rename follows (see
// PropertyNameScan), after the selectors, classes and protocols are rewritten: the files are
// read again for the old names. `candidates` are the renamed properties as the scan found them,
// in the order of `renames`. Every other byte stays as it was.
void rewritePropertyNames(std::vector<SourceFile>& files, const ProjectIndex& index,
                          const std::vector<PropertyNameScan::Candidate>& candidates,
                          const std::vector<TypeRename>& renames);

} // namespace quillet
