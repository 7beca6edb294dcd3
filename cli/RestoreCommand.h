#pragma once

#include "Arguments.h"

namespace quillet::cli {

// Puts a project back from its backup archive, as the archive holds it.
int runRestore(const Arguments& args);

} // namespace quillet::cli
