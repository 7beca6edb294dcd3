#pragma once

#include <string_view>

#include "job/RunReport.h"

namespace quillet::cli {

// How a methods or rename command ends: the process's exit status and a word for it.
struct RunOutcome {
    int exitStatus = 0;
    std::string_view status; // done, incomplete, refused or failed
};

// `wrote`: the run was one that writes (rename without --dry-run). A run that only reads ends
// as the real one would as far as reading can tell: refused, or incomplete when something was
// skipped or could not be read.
RunOutcome outcomeOf(const RunReport& report, bool wrote);

} // namespace quillet::cli
