#pragma once

#include <vector>

#include "engine/MRenameTool.h"
#include "job/RunReport.h"

namespace quillet {

// After a rewrite in memory: every file whose bytes writing it back would change, with the
// unified diff of its text against the file on disk (paths relative to the project).
std::vector<FileChange> plannedChanges(const MRenameTool& tool);

} // namespace quillet
