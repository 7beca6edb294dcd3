#include "support/PreciseProject.h"

#include "job/RenameStrategies.h"

namespace quillet::test {

PreciseProject::PreciseProject(NameKinds kinds, ProtectionInputs inputs)
    : tool_(random_, strategyFor(RenameMode::precise, std::move(inputs), kinds)) {}

bool PreciseProject::scan() {
    tool_.setRootPath(dir_.str());
    const bool loaded = tool_.loadFiles({});
    tool_.collectMethods();
    return loaded;
}

std::string PreciseProject::verdict(const std::string& selector) {
    for (const auto& m : tool_.candidateMethods()) {
        if (m.selector() == selector) {
            const auto* reason = tool_.protectionOf(selector);
            return reason ? reason->describe() : "rename";
        }
    }
    return "absent";
}

void PreciseProject::renameAll() {
    tool_.replace(*tool_.makeNewNames({}));
}

} // namespace quillet::test
