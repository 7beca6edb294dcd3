#include "service/MainQueue.h"

namespace quillet {

namespace {

// Held while work is handed over and while a queue retires, so a queue never goes while work is
// being handed to it. Never destroyed: threads may still post while the program exits.
std::mutex& currentMutex() {
    static auto* mutex = new std::mutex;
    return *mutex;
}

MainQueue* current = nullptr;

} // namespace

MainQueue::~MainQueue() {
    retire();
}

void MainQueue::retire() {
    std::lock_guard lock(currentMutex());
    if (current == this) {
        current = nullptr;
    }
}

void MainQueue::post(std::function<void()> work) {
    std::lock_guard lock(currentMutex());
    if (current != nullptr) {
        current->async(std::move(work));
    }
}

void MainQueue::setMain(MainQueue& queue) {
    std::lock_guard lock(currentMutex());
    current = &queue;
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
