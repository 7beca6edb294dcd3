#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <vector>

// Stands in for the event loop's timers while it lives: work put off through AfterDelay waits on
// a clock that moves only when the test advances it.
class ManualTimers {
public:
    ManualTimers();
    ~ManualTimers();
    ManualTimers(const ManualTimers&) = delete;
    ManualTimers& operator=(const ManualTimers&) = delete;

    // Moves the clock on and runs, earliest first, the work that has come due and whose context
    // is still there, including work put off meanwhile that is due by then.
    void advance(int byMs);
    // How many pieces of work are still waiting.
    std::size_t waiting() const { return waiting_.size(); }

private:
    struct Waiting {
        long long due; // ms on the clock
        QPointer<QObject> context;
        std::function<void()> work;
    };

    long long now_ = 0; // ms since the timers were put in
    std::vector<Waiting> waiting_;
};
