#pragma once

#include "service/MainQueue.h"

// The main queue on Qt's event loop: work posted from any thread runs on the GUI thread.
class QtMainQueue : public quillet::MainQueue {
public:
    ~QtMainQueue() override { retire(); }
    void async(std::function<void()> work) override;
};
