#include "precise/ClassFamily.h"

#include <algorithm>

namespace quillet {

namespace {

constexpr int deepestHierarchy = 64;

bool contains(std::span<const std::string_view> words, std::string_view word) {
    return std::find(words.begin(), words.end(), word) != words.end();
}

} // namespace

ClassFamily::ClassFamily(const ProjectIndex& index, std::size_t fileCount) {
    using objc::Container;
    for (std::size_t f = 0; f < fileCount; ++f) {
        const auto& facts = index.factsOf(f);
        for (const auto& container : facts.containers) {
            if (container.kind == Container::Kind::protocol) {
                continue;
            }
            if (container.kind == Container::Kind::interface && !container.superclass.empty()) {
                superclassOf_.try_emplace(container.name, container.superclass);
            }
            auto& protocols = protocolsOf_[container.name];
            protocols.insert(protocols.end(), container.protocols.begin(),
                             container.protocols.end());
        }
        for (const auto& use : facts.uses) {
            if (use.kind == objc::UseKind::definition && use.container >= 0) {
                definedBy_[facts.containers[use.container].name].insert(use.selector);
            }
        }
    }
}

std::optional<std::string>
ClassFamily::firstWith(std::string_view name, std::span<const std::string_view> protocols,
                       std::span<const std::string_view> bases,
                       std::span<const std::string_view> selectors) const {
    std::string ancestor(name);
    for (int depth = 0; depth < deepestHierarchy && !ancestor.empty(); ++depth) {
        if (contains(bases, ancestor)) {
            return ancestor;
        }
        if (const auto it = protocolsOf_.find(ancestor); it != protocolsOf_.end()) {
            for (const auto& protocol : it->second) {
                if (contains(protocols, protocol)) {
                    return ancestor;
                }
            }
        }
        if (const auto it = definedBy_.find(ancestor); it != definedBy_.end()) {
            for (const auto selector : selectors) {
                if (it->second.contains(selector)) {
                    return ancestor;
                }
            }
        }
        const auto up = superclassOf_.find(ancestor);
        ancestor = up == superclassOf_.end() ? std::string() : up->second;
    }
    return std::nullopt;
}

std::optional<std::string> ClassFamily::firstAmong(std::string_view name,
                                                   const SelectorSet& classes) const {
    std::string ancestor(name);
    for (int depth = 0; depth < deepestHierarchy && !ancestor.empty(); ++depth) {
        if (classes.contains(ancestor)) {
            return ancestor;
        }
        const auto up = superclassOf_.find(ancestor);
        ancestor = up == superclassOf_.end() ? std::string() : up->second;
    }
    return std::nullopt;
}

} // namespace quillet
