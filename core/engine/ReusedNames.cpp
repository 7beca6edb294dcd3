#include "engine/ReusedNames.h"

namespace quillet {

namespace {

bool sameShape(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t k = 0; k < a.size(); ++k) {
        if (a[k].ends_with(':') != b[k].ends_with(':') || (a[k] == ":") != (b[k] == ":")) {
            return false;
        }
    }
    return true;
}

} // namespace

std::vector<std::string> selectorPieces(std::string_view selector) {
    std::vector<std::string> pieces;
    while (!selector.empty()) {
        const auto colon = selector.find(':');
        const auto end = colon == std::string_view::npos ? selector.size() : colon + 1;
        pieces.emplace_back(selector.substr(0, end));
        selector.remove_prefix(end);
    }
    return pieces;
}

ReusedNames::ReusedNames(NameTable earlier) : earlier_(std::move(earlier)) {
    for (const auto& entry : earlier_.entries()) {
        if (entry.kind != NameEntry::Kind::file) {
            given_.insert(entry.to);
        }
    }
}

std::optional<MethodModel> ReusedNames::methodName(const MethodModel& method) {
    const std::string selector = method.selector();
    const auto kind = entryKindOfSelector(selector);
    const auto* entry = earlier_.find(kind, selector);
    if (entry == nullptr) {
        return std::nullopt;
    }
    MethodModel renamed{selectorPieces(entry->to), {}};
    if (!sameShape(renamed.elements, method.elements)) {
        refuse(kind, selector);
        return std::nullopt;
    }
    return renamed;
}

std::optional<std::string> ReusedNames::typeName(TypeName::Kind kind, const std::string& name) {
    const auto* entry = earlier_.find(entryKindOf(kind), name);
    return entry == nullptr ? std::nullopt : std::optional<std::string>(entry->to);
}

void ReusedNames::refuse(NameEntry::Kind kind, const std::string& from) {
    if (const auto* entry = earlier_.find(kind, from)) {
        afresh_.push_back(*entry);
    }
}

} // namespace quillet
