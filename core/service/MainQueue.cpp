#include "service/MainQueue.h"

#include <atomic>

namespace quillet {

namespace {

RunLoopQueue& fallbackQueue() {
    static RunLoopQueue queue;
    return queue;
}

std::atomic<MainQueue*> current{nullptr};

} // namespace

MainQueue& MainQueue::main() {
    MainQueue* queue = current.load();
    return queue != nullptr ? *queue : fallbackQueue();
}

void MainQueue::setMain(MainQueue& queue) {
    current.store(&queue);
}

void RunLoopQueue::async(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        work_.push_back(std::move(work));
    }
    ready_.notify_one();
}

bool RunLoopQueue::runUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!done()) {
        std::function<void()> next;
        {
            std::unique_lock lock(mutex_);
            if (!ready_.wait_until(lock, deadline, [&] { return !work_.empty(); })) {
                return done();
            }
            next = std::move(work_.front());
            work_.pop_front();
        }
        next();
    }
    return true;
}

} // namespace quillet
