#pragma once

#include <memory>

#include "engine/RenameMode.h"
#include "engine/RenameStrategy.h"
#include "precise/NameKinds.h"
#include "precise/ProtectionRules.h"

namespace quillet {

// The way of renaming a run's mode names; the precise one protects what `inputs` hold and
// renames the `kinds` of names, the literal one protects only the user's list.
std::unique_ptr<RenameStrategy> strategyFor(RenameMode mode, ProtectionInputs inputs = {},
                                            NameKinds kinds = {});

} // namespace quillet
