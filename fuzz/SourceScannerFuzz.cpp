// libFuzzer target: any bytes as an Objective-C or Objective-C++ file for the structure scan and
// for the uses of the macros it defines, and as each kind of interface or data file, text or
// binary. Every use it reports must be what the text says at its ranges: the ranges inside the
// text, in order and apart, and the selector the keywords written there; a kept macro-formed use
// and a fixed text have no range, only a selector.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "objc/MacroUseScanner.h"
#include "objc/SelectorText.h"
#include "objc/SourceScanner.h"
#include "precise/ResourceFileScanner.h"

using namespace quillet;

namespace {

void require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// A literal or an attribute has one range, the selector's whole text; any other use has one
// range per keyword: the name before its colon, or an empty range at the colon itself.
void checkUse(const objc::SelectorUse& use, const objc::SourceFacts& facts, std::string_view text) {
    if (use.kind == objc::UseKind::macroFormed || use.kind == objc::UseKind::fixedText) {
        require(objc::isKeywordSelector(use.selector) && use.spanCount == 0);
        return;
    }
    if (use.kind == objc::UseKind::propertyAccessor) {
        require(!use.selector.empty() && use.selector.find(':') == std::string::npos &&
                use.spanCount == 0);
        return;
    }
    require(!use.selector.empty() && use.spanCount > 0);
    // An argument-less selector is its one name.
    const bool unary = use.selector.find(':') == std::string::npos;
    require(use.firstSpan + use.spanCount <= facts.spans.size());
    require(use.container >= -1 &&
            use.container < static_cast<std::int32_t>(facts.containers.size()));
    const bool whole = unary || use.kind == objc::UseKind::stringLiteral ||
                       use.kind == objc::UseKind::interfaceAction;
    std::string written;
    std::size_t previousEnd = 0;
    for (std::uint32_t k = use.firstSpan; k < use.firstSpan + use.spanCount; ++k) {
        const auto& span = facts.spans[k];
        require(span.offset + span.length <= text.size());
        require(k == use.firstSpan || span.offset > facts.spans[k - 1].offset);
        require(span.offset >= previousEnd);
        previousEnd = span.offset + span.length;
        const auto keyword = text.substr(span.offset, span.length);
        if (whole) {
            written += keyword;
        } else {
            require(!keyword.empty() || text[span.offset] == ':');
            written.append(keyword).push_back(':');
        }
    }
    require(!whole || use.spanCount == 1);
    require(written == use.selector);
}

void check(const objc::SourceFacts& facts, std::string_view text) {
    for (const auto& use : facts.uses) {
        checkUse(use, facts, text);
    }
    require(facts.problems.size() <= 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    for (const auto dialect : {objc::Dialect::objectiveC, objc::Dialect::objectiveCpp}) {
        check(objc::scanSource(text, dialect, objc::ScanDepth::everything,
                               objc::UnaryNames::recorded),
              text);
        auto facts = objc::scanSource(text, dialect, objc::ScanDepth::everything);
        check(facts, text);
        objc::MacroTable macros;
        for (auto& definition : facts.macros) {
            objc::addMacroDefinition(macros, std::move(definition));
        }
        objc::SourceFacts formed;
        objc::MacroUseScanner(text, dialect, macros).run(formed);
        check(formed, text);
    }
    for (const auto* name : {"A.xib", "A.storyboard", "classes.nib", "Info.plist", "A.sdef"}) {
        check(scanResourceFile(name, text, false), text);
    }
    check(scanResourceFile("keyedobjects.nib", text, true), text);
    return 0;
}
