#include "precise/NameGuard.h"

#include "precise/ReservedWords.h"
#include "precise/RuntimeSelectors.h"

namespace quillet {

NameGuard::NameGuard(SelectorSet inUse, std::shared_ptr<const SelectorSet> sdk)
    : taken_(std::move(inUse)), sdk_(std::move(sdk)) {}

bool NameGuard::admit(const MethodModel& name) {
    for (const auto& element : name.elements) {
        std::string_view word = element;
        if (word.ends_with(':')) {
            word.remove_suffix(1);
        }
        if (isReservedWord(word)) {
            return false;
        }
    }
    const std::string selector = name.selector();
    if (!selector.ends_with(':') && (isCalledByRuntime(selector) || startsMemoryFamily(selector))) {
        return false;
    }
    if (sdk_ && sdk_->contains(selector)) {
        return false;
    }
    return taken_.insert(selector).second;
}

} // namespace quillet
