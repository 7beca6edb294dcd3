#pragma once

#include <string>
#include <string_view>

#include "Arguments.h"
#include "job/RunOptions.h"
#include "job/RunReport.h"

namespace quillet::cli {

// The path rule the window states in Chinese, for every path the cli refuses by it.
inline constexpr std::string_view pathRuleText =
    "a path may hold only ASCII letters, digits, \"_\", \"/\", \".\" and \"-\" (no spaces, no "
    "other characters)";

// Why the run was refused and what to do about it, in one or more lines (the last without a
// line break): the report's refusal said for the words and options the run was given.
std::string refusalMessage(const RunReport& report, const Arguments& args,
                           const RunOptions& options);

// Why the backup could not be made, and that the project was not changed: a project file that
// could not be read is named, otherwise the backup directory is.
std::string backupFailureMessage(const BackupFailure& failure, const RunOptions& options);

} // namespace quillet::cli
