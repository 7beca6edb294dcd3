#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// What a value in an interface or data file is to a rename.
enum class ValueRole {
    other,      // any text: a selector written in it is kept, as it cannot be told apart
    action,     // an action's whole selector, rewritten when it is exactly one
    actionName, // an action's name without its colon, rewritten when it is exactly one
};

// Gathers the selectors an interface or data file names: each either a use the rewrite
// replaces in place, or a fixed text that keeps its selector's name.
class ReferenceCollector {
public:
    // A value written as plain text at `offset` of the file.
    void plain(std::string_view text, std::size_t offset, ValueRole role);
    // A raw XML value at `offset`: plain when it holds no markup or entity, otherwise only ever
    // a fixed text, as its selector cannot be rewritten byte for byte.
    void xml(std::string_view raw, std::size_t offset, ValueRole role);
    // Text, not in the file as such (decoded, or read from a binary form), that keeps the
    // selector it spells.
    void fixed(std::string_view text, ValueRole role = ValueRole::other);
    void problem(std::string text);

    objc::SourceFacts take() { return std::move(facts_); }

private:
    void add(std::string selector, objc::UseKind kind, std::size_t offset, std::size_t length);

    objc::SourceFacts facts_;
};

} // namespace quillet
