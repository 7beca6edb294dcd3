#include "ProgressSteps.h"

namespace quillet::app {

bool ProgressSteps::due(std::uint64_t done, std::uint64_t total) {
    const std::uint64_t step = total == 0 ? 0 : done * 100 / total;
    if (step == lastStep_) {
        return false;
    }
    lastStep_ = step;
    return true;
}

} // namespace quillet::app
