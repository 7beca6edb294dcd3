#pragma once

#include <optional>
#include <ostream>

#include "Arguments.h"
#include "job/RunOptions.h"
#include "job/RunReport.h"

namespace quillet::cli {

// The run a methods or rename command asks for: the stored settings and default bank, with what
// the command line gives (mode, ignore list, prefix, SDK folders, selector lists, words, backup,
// dry run). Fails when a words file cannot be read.
Result<RunOptions> runOptionsFor(const Arguments& args);

// What the scan found: files, unreadable and skipped files (each named), headers, methods, pieces,
// words; in the precise mode also the SDKs read, the protected methods and the files left unparsed.
void printScanSummary(const RunReport& report, std::ostream& err);

// What the mode read besides what it may rewrite (Swift, say), one line each.
void printReadingNotes(const RunReport& report, std::ostream& err);

// What became of the names a run was given to reuse.
void printReuse(const RunReport& report, std::ostream& err);

// Names each folder that looks like someone else's library, with the methods renamed there and
// the --ignore that would leave it alone.
void printVendoredFolders(const RunReport& report, std::ostream& err);

} // namespace quillet::cli
