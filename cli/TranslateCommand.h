#pragma once

#include "Arguments.h"

namespace quillet::cli {

// Writes each FILE (standard input when none is given) on standard output, one after another,
// with the new names of a renamed build put back to the old ones its names file gives.
int runTranslate(const Arguments& args);

} // namespace quillet::cli
