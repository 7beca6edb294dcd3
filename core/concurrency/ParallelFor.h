#pragma once

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

namespace quillet {

// Calls `work(i)` for every i in [0, count) on up to `maximumThreads` threads, the calling one
// included, handed out one at a time so uneven items balance out. Between its own items, and
// once it has none left, the calling thread calls `reached(done)` whenever more items have
// completed, with the number completed so far, so whatever it reports comes from one thread, in
// order. The first exception thrown by any call is rethrown here once every thread has stopped.
// Where the system starts fewer threads, the ones there are share the work.
template <typename Work, typename Reached>
void parallelForReporting(std::size_t count, unsigned maximumThreads, const Work& work,
                          const Reached& reached) {
    const unsigned available = std::max(1u, std::thread::hardware_concurrency());
    const auto threads =
        static_cast<unsigned>(std::min<std::size_t>({count, maximumThreads, available}));
    std::atomic<std::size_t> next{0};
    std::mutex mutex;
    std::condition_variable changed;
    std::size_t completed = 0;
    unsigned helpersRunning = threads > 0 ? threads - 1 : 0;
    std::exception_ptr failure;
    const auto runItem = [&](std::size_t i) {
        try {
            work(i);
        } catch (...) {
            std::lock_guard lock(mutex);
            if (!failure) {
                failure = std::current_exception();
            }
            next = count;
            return;
        }
        std::lock_guard lock(mutex);
        ++completed;
        changed.notify_one();
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back([&] {
                for (std::size_t i; (i = next.fetch_add(1)) < count;) {
                    runItem(i);
                }
                std::lock_guard lock(mutex);
                --helpersRunning;
                changed.notify_one();
            });
        } catch (const std::system_error&) {
            // Thrown past the running helpers, it would end the process when they go.
            std::lock_guard lock(mutex);
            helpersRunning -= threads - t;
            break;
        }
    }
    std::size_t reported = 0;
    const auto report = [&](std::size_t done) {
        if (done > reported) {
            reported = done;
            reached(done);
        }
    };
    for (std::size_t i; (i = next.fetch_add(1)) < count;) {
        runItem(i);
        std::unique_lock lock(mutex);
        const std::size_t done = completed;
        lock.unlock();
        report(done);
    }
    for (bool finished = false; !finished;) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return completed > reported || helpersRunning == 0; });
        const std::size_t done = completed;
        finished = helpersRunning == 0;
        lock.unlock();
        report(done);
    }
    for (auto& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

// parallelForReporting without the reports.
template <typename Work>
void parallelFor(std::size_t count, unsigned maximumThreads, const Work& work) {
    parallelForReporting(count, maximumThreads, work, [](std::size_t) {});
}

} // namespace quillet
