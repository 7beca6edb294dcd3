#include <gtest/gtest.h>

#include "log/Console.h"
#include "support/TestHome.h"

int main(int argc, char** argv) {
    const std::string home = quillet::test::useFreshHome();
    if (home.empty()) {
        return 1;
    }
    quillet::Console::shared().setEcho(false);
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    quillet::test::removeHome(home);
    return result;
}
