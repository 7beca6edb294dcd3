#pragma once

#include "Arguments.h"

namespace quillet::cli {

// The settings from the terminal, with the settings screen's rule for the backup directory.
int runSettingsShow();
int runSettingsSet(const Arguments& args);

} // namespace quillet::cli
