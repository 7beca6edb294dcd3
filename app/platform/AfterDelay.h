#pragma once

#include <QObject>
#include <functional>

namespace quillet::app {

// Runs work on the event loop once a delay has passed, unless its context object is gone by
// then. Tests put a scheduler of their own behind it, which runs the work when the test says.
namespace AfterDelay {
using Scheduler = std::function<void(int delayMs, QObject* context, std::function<void()> work)>;

void run(int delayMs, QObject* context, std::function<void()> work);
// An empty scheduler puts the event loop's timers back.
void setScheduler(Scheduler scheduler);
} // namespace AfterDelay

} // namespace quillet::app
