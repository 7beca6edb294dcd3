#pragma once

#include "Arguments.h"

namespace quillet::cli {

// The default word bank from the terminal, with the word bank screen's rules and messages.
int runBankShow(const Arguments& args);
int runBankVerify(const Arguments& args);
int runBankSet(const Arguments& args);
int runBankNew(const Arguments& args);

} // namespace quillet::cli
