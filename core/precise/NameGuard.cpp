#include "precise/NameGuard.h"

#include "precise/ReservedWords.h"

namespace quillet {

NameGuard::NameGuard(SelectorSet inUse, std::shared_ptr<const SelectorSet> sdk)
    : taken_(std::move(inUse)), sdk_(std::move(sdk)) {}

bool NameGuard::admit(const MethodModel& name) {
    for (const auto& element : name.elements) {
        if (isReservedWord(std::string_view(element).substr(0, element.size() - 1))) {
            return false;
        }
    }
    const std::string selector = name.selector();
    if (sdk_ && sdk_->contains(selector)) {
        return false;
    }
    return taken_.insert(selector).second;
}

} // namespace quillet
