#pragma once

#include <cstdint>
#include <limits>

namespace quillet::app {

// Lets through one report per hundredth of the work, so that a worker thread posts the window
// about a hundred updates however many files it goes through.
class ProgressSteps {
public:
    // True when `done` of `total` has reached a hundredth not yet reported (the first call and
    // the last, done == total, always do).
    bool due(std::uint64_t done, std::uint64_t total);

private:
    std::uint64_t lastStep_ = std::numeric_limits<std::uint64_t>::max();
};

} // namespace quillet::app
