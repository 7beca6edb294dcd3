#include "job/RenameStrategies.h"

#include "engine/LiteralRename.h"
#include "precise/PreciseRename.h"

namespace quillet {

std::unique_ptr<RenameStrategy> strategyFor(RenameMode mode, ProtectionInputs inputs,
                                            NameKinds kinds) {
    if (mode == RenameMode::precise) {
        return std::make_unique<PreciseRename>(std::move(inputs), kinds);
    }
    return std::make_unique<LiteralRename>(
        std::vector<std::string>(inputs.userList.begin(), inputs.userList.end()));
}

} // namespace quillet
