#pragma once

#include <cstdint>
#include <string>

#include "objc/SourceFacts.h"

namespace quillet::objc {

// Adds selector uses to a file's facts: a use's keyword spans first, then the use itself, or
// nothing when what was read turned out to be no selector.
class UseRecorder {
public:
    explicit UseRecorder(SourceFacts& facts, UnaryNames unary = UnaryNames::skipped)
        : facts_(facts), unary_(unary) {}

    SourceFacts& facts() { return facts_; }
    bool recordsUnary() const { return unary_ == UnaryNames::recorded; }

    // A new use of `kind` whose spans start here.
    SelectorUse start(UseKind kind, std::int32_t container = -1) const {
        SelectorUse use;
        use.kind = kind;
        use.container = container;
        use.firstSpan = static_cast<std::uint32_t>(facts_.spans.size());
        return use;
    }
    void span(std::uint32_t offset, std::uint32_t length) {
        facts_.spans.push_back({offset, length});
    }
    // Forgets the spans added since `use` started.
    void drop(const SelectorUse& use) { facts_.spans.resize(use.firstSpan); }
    void keep(SelectorUse use, std::string selector) {
        use.selector = std::move(selector);
        use.spanCount = static_cast<std::uint32_t>(facts_.spans.size()) - use.firstSpan;
        facts_.uses.push_back(std::move(use));
    }

private:
    SourceFacts& facts_;
    UnaryNames unary_;
};

} // namespace quillet::objc
