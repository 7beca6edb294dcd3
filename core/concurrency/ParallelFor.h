#pragma once

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace quillet {

// Calls `work(i)` for every i in [0, count) on up to `maximumThreads` threads (the calling
// one included). Items are handed out one at a time, so uneven items balance out. The first
// exception thrown by any call is rethrown here once every thread has stopped.
template <typename Work>
void parallelFor(std::size_t count, unsigned maximumThreads, const Work& work) {
    const unsigned available = std::max(1u, std::thread::hardware_concurrency());
    const auto threads =
        static_cast<unsigned>(std::min<std::size_t>({count, maximumThreads, available}));
    std::atomic<std::size_t> next{0};
    std::exception_ptr failure;
    std::mutex failureMutex;
    auto drain = [&] {
        for (std::size_t i; (i = next.fetch_add(1)) < count;) {
            try {
                work(i);
            } catch (...) {
                std::lock_guard lock(failureMutex);
                if (!failure) {
                    failure = std::current_exception();
                }
                next = count;
            }
        }
    };
    std::vector<std::thread> helpers;
    for (unsigned t = 1; t < threads; ++t) {
        helpers.emplace_back(drain);
    }
    drain();
    for (auto& helper : helpers) {
        helper.join();
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace quillet
