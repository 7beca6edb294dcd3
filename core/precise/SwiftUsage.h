#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// What the project's Swift files use, each fact with the first Swift file (by load order) that
// says it. The files are read on several threads and never changed.
class SwiftUsage {
public:
    explicit SwiftUsage(const std::vector<SourceFile>& files);

    // The index into the files of the first Swift file that writes the name in code.
    std::optional<std::size_t> fileNaming(std::string_view name) const;
    // ... that spells the Objective-C selector out whole, in @objc(...) or a string literal.
    std::optional<std::size_t> fileGivingSelector(std::string_view selector) const;
    // ... that declares a type adopting the protocol (or inheriting from the class).
    std::optional<std::size_t> fileAdopting(std::string_view type) const;

private:
    text::StringMap<std::size_t> names_;
    text::StringMap<std::size_t> objcSelectors_;
    text::StringMap<std::size_t> adopted_;
};

} // namespace quillet
