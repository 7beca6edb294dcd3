#pragma once

#include <string>

#include "support/Files.h"

namespace quillet::test {

struct CommandResult {
    int exitCode = -1; // -1 when the command did not exit normally
    std::string out;
    std::string err;
};

// Runs a shell command line with no input; its output and errors are caught in files of
// `scratch`.
CommandResult runCommand(const std::string& command, const TempDir& scratch);

// `text` quoted for the shell, whatever it holds.
std::string shellQuoted(const std::string& text);

} // namespace quillet::test
