#pragma once

#include <ostream>

#include "Arguments.h"
#include "job/RenameJob.h"

namespace quillet::cli {

// The job a methods or rename command runs: the project, mode, ignore list and protection of the
// command line, with the stored settings' SDK folders, selectors and (unless given) prefix.
RenameRequest requestFor(const Arguments& args);

// Prepares the job; on refusal prints why on `err` and returns false. Nothing has been written
// then.
bool prepareJob(RenameJob& job, std::ostream& err);

// What the scan found: files, unreadable files (each named), headers, methods, pieces, words;
// in the precise mode also the SDKs read, the protected methods and the files left unparsed.
void printScanSummary(RenameJob& job, std::ostream& err);

} // namespace quillet::cli
