// Work put off on the event loop's timers: it runs from the loop, never from the call, and not
// for a context that has gone.
#include <gtest/gtest.h>

#include <QObject>
#include <QTest>
#include <string>
#include <vector>

#include "platform/AfterDelay.h"

using namespace quillet::app;

namespace {

TEST(AfterDelay, RunsTheWorkFromTheEventLoopAndNotForAContextThatHasGone) {
    QObject kept;
    auto* gone = new QObject;
    std::vector<std::string> ran;
    AfterDelay::run(0, gone, [&] { ran.emplace_back("gone"); });
    AfterDelay::run(0, &kept, [&] { ran.emplace_back("kept"); });
    EXPECT_TRUE(ran.empty());
    delete gone;
    // Work of the same delay runs in the order it was put off, so the first is settled by now.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ran.empty(); }));
    EXPECT_EQ(ran, std::vector<std::string>{"kept"});
}

} // namespace
