#include "CliFixture.h"

#include <filesystem>

#include <unistd.h>

namespace quillet::test {

namespace {

namespace fs = std::filesystem;

// The user "nobody" on Debian and most other systems.
constexpr const char* unprivileged = "65534";

// The cli run with `home` as its home folder, through `launcher` (a command that runs another).
std::string cliCommand(const TempDir& home, const std::string& launcher,
                       const std::string& arguments) {
    return "HOME=" + shellQuoted(home.str()) + " " + launcher + shellQuoted(QUILLET_CLI_PATH) +
           " " + arguments;
}

} // namespace

void CliFixture::SetUp() {
    fs::copy(QUILLET_EXAMPLES_DIR "/DemoShop", project_.path() / "DemoShop",
             fs::copy_options::recursive);
}

CommandResult CliFixture::run(const std::string& arguments) const {
    return runCommand(cliCommand(home_, "", arguments), scratch_);
}

std::optional<CommandResult> CliFixture::runUnprivileged(const std::string& arguments) const {
    if (::geteuid() != 0) {
        return run(arguments);
    }
    const std::string setpriv = std::string("setpriv --reuid=") + unprivileged +
                                " --regid=" + unprivileged + " --clear-groups ";
    if (runCommand(setpriv + "true", scratch_).exitCode != 0) {
        return std::nullopt;
    }
    for (const auto* folder : {&project_, &home_, &scratch_}) {
        const std::string chown = std::string("chown -R ") + unprivileged + ":" + unprivileged +
                                  " " + shellQuoted(folder->str());
        if (runCommand(chown, scratch_).exitCode != 0) {
            return std::nullopt;
        }
    }
    return runCommand(cliCommand(home_, setpriv, arguments), scratch_);
}

} // namespace quillet::test
