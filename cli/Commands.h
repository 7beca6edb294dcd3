#pragma once

#include "Arguments.h"

namespace quillet::cli {

// The exit statuses of every command.
enum ExitCode { done = 0, couldNotStart = 1, usage = 2, incomplete = 3 };

int runMethods(const Arguments& args);
int runRename(const Arguments& args);
int runUnrename(const Arguments& args);

} // namespace quillet::cli
