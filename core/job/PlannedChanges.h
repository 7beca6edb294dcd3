#pragma once

#include <vector>

#include "engine/MRenameTool.h"
#include "job/RunReport.h"

namespace quillet {

// After a rewrite in memory: every file whose bytes writing it back would change, with the
// unified diff of the bytes on disk against those written (paths relative to the project), so
// that the diff applies without fuzz, a byte order mark included. A file that moves shows as a
// git rename (its path is the new one), so that git apply moves it too. A file that is not UTF-8 on
// disk or once written gets a note instead: a patch holds text.
std::vector<FileChange> plannedChanges(const MRenameTool& tool);

} // namespace quillet
