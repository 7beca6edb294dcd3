#pragma once

#include <cstddef>
#include <ostream>

#include "engine/MRenameTool.h"

namespace quillet::cli {

// After a rewrite in memory: prints on `out` a unified diff of every file whose bytes the run
// would change (paths relative to the project), and returns how many there are.
std::size_t printChanges(const MRenameTool& tool, std::ostream& out);

} // namespace quillet::cli
