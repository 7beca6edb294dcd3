#pragma once

#include "service/MainQueue.h"

namespace quillet::app {

// The main queue on Qt's event loop: work posted from any thread runs on the GUI thread.
class QtMainQueue : public quillet::MainQueue {
public:
    ~QtMainQueue() override { retire(); }
    void async(std::function<void()> work) override;
};

} // namespace quillet::app
