#include "precise/UnsureTextScan.h"

#include <string>

#include "objc/SourceScanner.h"

namespace quillet {

namespace {

bool isHigh(char c) {
    return static_cast<unsigned char>(c) >= 0x80;
}

// The ASCII of `bytes`, the rest blanked; with `trailBackslashes`, a backslash right after a
// blanked byte is blanked too.
std::string asciiOf(std::string_view bytes, bool trailBackslashes) {
    std::string text(bytes);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool trail = trailBackslashes && i > 0 && bytes[i] == '\\' && isHigh(bytes[i - 1]);
        if (isHigh(bytes[i]) || trail) {
            text[i] = ' ';
        }
    }
    return text;
}

} // namespace

objc::SourceFacts scanUnsureText(std::string_view bytes, objc::Dialect dialect,
                                 objc::UnaryNames unary) {
    auto facts =
        objc::scanSource(asciiOf(bytes, false), dialect, objc::ScanDepth::everything, unary);
    const auto other =
        objc::scanSource(asciiOf(bytes, true), dialect, objc::ScanDepth::everything, unary);
    const auto shift = static_cast<std::uint32_t>(facts.spans.size());
    facts.spans.insert(facts.spans.end(), other.spans.begin(), other.spans.end());
    for (auto use : other.uses) {
        use.firstSpan += shift;
        use.container = -1; // the containers are the first reading's
        facts.uses.push_back(std::move(use));
    }
    facts.problems.insert(facts.problems.begin(),
                          "not UTF-8 or UTF-16 text, nor an older encoding it could be read in "
                          "with confidence");
    return facts;
}

} // namespace quillet
