// Work spread over threads while one thread reports how far it has got.
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <thread>
#include <vector>

#include "concurrency/ParallelFor.h"

namespace quillet {
namespace {

TEST(ParallelForReporting, DoesEveryItemOnceAndReportsRisingCountsFromTheCallingThread) {
    for (const std::size_t count : {0u, 1u, 7u, 500u}) {
        std::vector<std::atomic<int>> done(count);
        std::vector<std::size_t> reached;
        bool callerOnly = true;
        const auto caller = std::this_thread::get_id();
        parallelForReporting(
            count, 4, [&](std::size_t i) { ++done[i]; },
            [&](std::size_t completed) {
                reached.push_back(completed);
                callerOnly = callerOnly && std::this_thread::get_id() == caller;
            });
        for (std::size_t i = 0; i < count; ++i) {
            EXPECT_EQ(done[i], 1) << "item " << i << " of " << count;
        }
        EXPECT_TRUE(callerOnly);
        for (std::size_t i = 1; i < reached.size(); ++i) {
            EXPECT_LT(reached[i - 1], reached[i]);
        }
        if (count == 0) {
            EXPECT_TRUE(reached.empty());
        } else {
            ASSERT_FALSE(reached.empty());
            EXPECT_EQ(reached.back(), count);
        }
    }
}

TEST(ParallelForReporting, RethrowsTheFirstFailureOnceEveryThreadHasStopped) {
    std::atomic<int> calls{0};
    EXPECT_THROW(parallelForReporting(
                     100, 3,
                     [&](std::size_t i) {
                         ++calls;
                         if (i == 5) {
                             throw std::runtime_error("item 5");
                         }
                     },
                     [](std::size_t) {}),
                 std::runtime_error);
    EXPECT_LE(calls.load(), 100);
}

} // namespace
} // namespace quillet
