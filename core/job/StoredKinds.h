#pragma once

#include "precise/NameKinds.h"
#include "settings/SettingModel.h"

namespace quillet {

// The kinds of names the settings ask a precise run to rename: methods and what is switched on.
NameKinds storedKinds(const SettingModel& settings);

// Switches the settings' kinds on and off as `kinds` says.
void storeKinds(SettingModel& settings, NameKinds kinds);

} // namespace quillet
