#include "AfterDelay.h"

#include <QTimer>

namespace quillet::app {

namespace {

void onTimer(int delayMs, QObject* context, std::function<void()> work) {
    QTimer::singleShot(delayMs, context, std::move(work));
}

AfterDelay::Scheduler& scheduler() {
    static AfterDelay::Scheduler current = onTimer;
    return current;
}

} // namespace

namespace AfterDelay {

void run(int delayMs, QObject* context, std::function<void()> work) {
    scheduler()(delayMs, context, std::move(work));
}

void setScheduler(Scheduler replacement) {
    scheduler() = replacement ? std::move(replacement) : Scheduler(onTimer);
}

} // namespace AfterDelay

} // namespace quillet::app
