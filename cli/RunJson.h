#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "Arguments.h"
#include "RunOutcome.h"
#include "job/RunReport.h"

namespace quillet::cli {

// The document a methods or rename command gives with --json: the command, project and mode,
// how it ended, the counts, the renamed and protected methods, the files it could not read or
// parse, the backup, the name list and the log; a dry run's planned changes; the methods
// command's candidates. "refusal" is null: the caller sets it (see refusalJson).
nlohmann::json runJson(const Arguments& args, const RunReport& report, const RunOutcome& outcome);

// Why a run was refused: the reason's name and the message the command would print.
nlohmann::json refusalJson(const RunRefusal& refusal, const std::string& message);

} // namespace quillet::cli
