#pragma once

#include <ostream>

#include "Arguments.h"
#include "engine/MRenameTool.h"

namespace quillet::cli {

// Checks the project folder, loads it and collects its methods. On failure prints why on `err`
// and returns false; nothing has been written then.
bool scanProject(MRenameTool& tool, const Arguments& args, std::ostream& err);

// What the scan found: files, unreadable files (each named), headers, methods, pieces, words.
void printScanSummary(MRenameTool& tool, std::ostream& err);

} // namespace quillet::cli
