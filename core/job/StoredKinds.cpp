#include "job/StoredKinds.h"

#include <array>
#include <utility>

namespace quillet {

namespace {

// Each switch of the settings beside the kind it turns on.
constexpr std::array<std::pair<bool SettingModel::*, NameKind>, 4> switches = {{
    {&SettingModel::renameUnary, NameKind::unary},
    {&SettingModel::renameProperties, NameKind::properties},
    {&SettingModel::renameClasses, NameKind::classes},
    {&SettingModel::renameProtocols, NameKind::protocols},
}};

} // namespace

NameKinds storedKinds(const SettingModel& settings) {
    NameKinds kinds;
    for (const auto& [on, kind] : switches) {
        if (settings.*on) {
            kinds.add(kind);
        }
    }
    return kinds;
}

void storeKinds(SettingModel& settings, NameKinds kinds) {
    for (const auto& [on, kind] : switches) {
        settings.*on = kinds.has(kind);
    }
}

} // namespace quillet
