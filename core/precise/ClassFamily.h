#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "precise/ProjectIndex.h"
#include "precise/SelectorSet.h"
#include "text/StringHash.h"

namespace quillet {

// What every file read says about how classes are related: each class's superclass, the
// protocols each adopts (in any block of it: interface, category, extension) and the selectors
// each implementation defines.
class ClassFamily {
public:
    explicit ClassFamily(const ProjectIndex& index, std::size_t fileCount);

    // The first class from `name` up its superclasses (itself included) that adopts one of the
    // protocols or inherits from one of the `bases`, or defines one of the selectors. The walk
    // is bounded, as a broken project may have a cycle.
    std::optional<std::string> firstWith(std::string_view name,
                                         std::span<const std::string_view> protocols,
                                         std::span<const std::string_view> bases = {},
                                         std::span<const std::string_view> selectors = {}) const;
    // The class itself or one of its superclasses is among `classes`.
    std::optional<std::string> firstAmong(std::string_view name, const SelectorSet& classes) const;

private:
    text::StringMap<std::string> superclassOf_;
    text::StringMap<std::vector<std::string>> protocolsOf_;
    text::StringMap<SelectorSet> definedBy_;
};

// The protocols and methods of a class whose objects are archived under its class's name.
inline constexpr std::string_view codingProtocols[] = {"NSCoding", "NSSecureCoding"};
inline constexpr std::string_view archivingSelectors[] = {"encodeWithCoder:",
                                                          "supportsSecureCoding"};

} // namespace quillet
