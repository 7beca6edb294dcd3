// A failure nothing can recover from ends the program and says what it was.
#include <gtest/gtest.h>

#include <stdexcept>
#include <thread>

#include "base/Fatal.h"

namespace quillet {
namespace {

TEST(FatalDeathTest, SaysWhatHappenedOnStandardErrorAndAborts) {
    EXPECT_DEATH(fatal("the disk caught fire"), "quillet: fatal: the disk caught fire");
    EXPECT_STREQ(fatalReason(), "") << "only the dying process keeps a reason";
}

TEST(FatalDeathTest, AnExceptionNobodyCaughtEndsThroughTheSamePathWithItsMessage) {
    // An exception that leaves a thread's function ends the program through std::terminate.
    EXPECT_DEATH(
        {
            reportTerminations();
            std::thread([] {
                throw std::runtime_error("getrandom failed: out of entropy");
            }).join();
        },
        "quillet: fatal: an exception nobody caught: getrandom failed: out of entropy");
    EXPECT_DEATH(
        {
            reportTerminations();
            std::thread([] { throw 42; }).join();
        },
        "an exception nobody caught, of an unknown type");
}

} // namespace
} // namespace quillet
