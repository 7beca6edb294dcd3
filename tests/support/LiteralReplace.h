#pragma once

#include <vector>

#include "engine/MRenameTool.h"

namespace quillet::test {

// The replacement pass done the plain way: every pair, every file, every piece, through
// FileModel::rewrite, then the same write-out. The indexed pass must give the same bytes. The
// tool must run the literal mode.
void replaceLiterally(MRenameTool& tool, const std::vector<RenamePair>& pairs);

} // namespace quillet::test
