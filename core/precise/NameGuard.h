#pragma once

#include <memory>

#include "engine/MethodModel.h"
#include "precise/SelectorSet.h"

namespace quillet {

// Keeps new names clear of every name that already means something: a selector the project or
// the SDK has, one the user protects, one handed out before in this run, or a keyword of the
// languages as one of its parts.
class NameGuard {
public:
    NameGuard(SelectorSet inUse, std::shared_ptr<const SelectorSet> sdk);

    // Whether `name` may be given; an admitted name is remembered as taken.
    bool admit(const MethodModel& name);

private:
    SelectorSet taken_;
    std::shared_ptr<const SelectorSet> sdk_;
};

} // namespace quillet
