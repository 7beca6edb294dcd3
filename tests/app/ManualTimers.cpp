#include "ManualTimers.h"

#include <algorithm>

#include "platform/AfterDelay.h"

using quillet::app::AfterDelay::setScheduler;

ManualTimers::ManualTimers() {
    setScheduler([this](int delayMs, QObject* context, std::function<void()> work) {
        waiting_.push_back({now_ + delayMs, context, std::move(work)});
    });
}

ManualTimers::~ManualTimers() {
    setScheduler({});
}

void ManualTimers::advance(int byMs) {
    now_ += byMs;
    for (;;) {
        // The earliest due, and of those the first put off, as the event loop orders them.
        const auto next =
            std::min_element(waiting_.begin(), waiting_.end(),
                             [](const Waiting& a, const Waiting& b) { return a.due < b.due; });
        if (next == waiting_.end() || next->due > now_) {
            return;
        }
        Waiting ready = std::move(*next);
        waiting_.erase(next);
        if (ready.context) {
            ready.work();
        }
    }
}
