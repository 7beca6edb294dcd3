#include "job/RenameStrategies.h"

#include "engine/LiteralRename.h"
#include "precise/PreciseRename.h"

namespace quillet {

std::unique_ptr<RenameStrategy> strategyFor(RenameMode mode, ProtectionInputs inputs) {
    if (mode == RenameMode::precise) {
        return std::make_unique<PreciseRename>(std::move(inputs));
    }
    return std::make_unique<LiteralRename>(
        std::vector<std::string>(inputs.userList.begin(), inputs.userList.end()));
}

} // namespace quillet
