#include "support/Command.h"

#include <cstdlib>

#include <sys/wait.h>

namespace quillet::test {

CommandResult runCommand(const std::string& command, const TempDir& scratch) {
    const std::string out = (scratch.path() / "out").string();
    const std::string err = (scratch.path() / "err").string();
    const std::string full =
        command + " >" + shellQuoted(out) + " 2>" + shellQuoted(err) + " </dev/null";
    const int status = std::system(full.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(out), readFile(err)};
}

std::string shellQuoted(const std::string& text) {
    std::string result = "'";
    for (const char c : text) {
        result += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return result + "'";
}

} // namespace quillet::test
