#pragma once

#include <memory>

#include "engine/RenameMode.h"
#include "engine/RenameStrategy.h"
#include "precise/ProtectionRules.h"

namespace quillet {

// The way of renaming a run's mode names; the precise one protects what `inputs` hold, the
// literal one only the user's list.
std::unique_ptr<RenameStrategy> strategyFor(RenameMode mode, ProtectionInputs inputs = {});

} // namespace quillet
