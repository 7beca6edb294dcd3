// libFuzzer target: any bytes as an Objective-C or Objective-C++ file for the structure scan and
// as an interface file; every range it reports must lie inside the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "objc/SourceScanner.h"
#include "precise/InterfaceFileScanner.h"

using namespace quillet;

namespace {

void check(const objc::SourceFacts& facts, std::size_t size) {
    for (const auto& span : facts.spans) {
        if (span.offset + span.length > size) {
            std::abort();
        }
    }
    for (const auto& use : facts.uses) {
        if (use.firstSpan + use.spanCount > facts.spans.size() || use.selector.empty()) {
            std::abort();
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(bytes), size);
    for (const auto dialect : {objc::Dialect::objectiveC, objc::Dialect::objectiveCpp}) {
        check(objc::scanSource(text, dialect, objc::ScanDepth::everything), size);
    }
    check(scanInterfaceFile(text), size);
    return 0;
}
