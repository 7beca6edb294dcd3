#include <cstdlib>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "log/Console.h"

// Points HOME at a fresh folder before anything reads it, so the run log and the settings of this
// process are its own and no test ever touches the real ones.
int main(int argc, char** argv) {
    std::string home = (std::filesystem::temp_directory_path() / "quillet-home-XXXXXX").string();
    if (::mkdtemp(home.data()) == nullptr) {
        return 1;
    }
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    quillet::Console::shared().setEcho(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(home, ignored);
    return result;
}
