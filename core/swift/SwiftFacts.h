#pragma once

#include <string>
#include <vector>

namespace quillet::swift {

// What one Swift file says that can reach an Objective-C method by name.
struct SwiftFacts {
    // Every name written in code that may name a method: calls, member references, #selector
    // contents, func declarations, types. Argument labels and parameter names are left out.
    std::vector<std::string> names;
    // The Objective-C selectors Swift spells out whole, e.g. "find:in:": given by @objc(...)
    // attributes, or written as a whole string literal (Selector("find:in:"), menu item
    // identifiers), which a rename could not rewrite.
    std::vector<std::string> objcSelectors;
    // The types named in inheritance lists of class, struct, enum, protocol and extension
    // declarations: the superclass and the protocols adopted.
    std::vector<std::string> conformances;
};

} // namespace quillet::swift
