// Work spread over threads while one thread reports how far it has got.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <system_error>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

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

// With the process limit reached, no thread can start; the work is done all the same, on the
// calling thread (a thread that could not start once ended the process).
TEST(ParallelFor, DoesTheWorkWhenNoThreadCanStart) {
    enum Outcome { done = 0, wrong = 1, stillRoot = 3, threadsStart = 4 };
    const pid_t child = ::fork();
    if (child == 0) {
        // The limit does not bind root, so the child becomes nobody first.
        if (::geteuid() == 0 && ::setuid(65534) != 0) {
            std::_Exit(stillRoot);
        }
        const rlimit one{1, 1};
        ::setrlimit(RLIMIT_NPROC, &one);
        try {
            std::thread([] {}).join();
            std::_Exit(threadsStart);
        } catch (const std::system_error&) {
        }
        std::atomic<int> calls{0};
        parallelFor(50, 4, [&](std::size_t) { ++calls; });
        std::size_t reported = 0;
        parallelForReporting(
            50, 4, [&](std::size_t) { ++calls; }, [&](std::size_t count) { reported = count; });
        std::_Exit(calls == 100 && reported == 50 ? done : wrong);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status)) << "ended by signal " << WTERMSIG(status);
    if (WEXITSTATUS(status) == stillRoot || WEXITSTATUS(status) == threadsStart) {
        GTEST_SKIP() << "threads cannot be denied to this process here";
    }
    EXPECT_EQ(WEXITSTATUS(status), done);
}

} // namespace
} // namespace quillet
