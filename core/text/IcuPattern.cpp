#include "text/IcuPattern.h"

#include <string>

#include <unicode/regex.h>
#include <unicode/utext.h>

#include "base/Fatal.h"

namespace quillet::text {

struct IcuPattern::Compiled {
    std::unique_ptr<icu::RegexPattern> pattern;
    std::unique_ptr<icu::RegexMatcher> matcher;
    UText text = UTEXT_INITIALIZER;

    ~Compiled() {
        matcher.reset();
        utext_close(&text);
    }

    // Points the matcher at `utf8` without copying it.
    bool reset(std::string_view utf8) {
        UErrorCode status = U_ZERO_ERROR;
        utext_openUTF8(&text, utf8.data(), static_cast<int64_t>(utf8.size()), &status);
        if (U_FAILURE(status)) {
            return false;
        }
        matcher->reset(&text);
        return true;
    }
};

IcuPattern::IcuPattern(std::string_view pattern, Dot dot)
    : compiled_(std::make_unique<Compiled>()) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError{};
    const auto source = icu::UnicodeString::fromUTF8(
        icu::StringPiece(pattern.data(), static_cast<int32_t>(pattern.size())));
    const uint32_t flags = dot == Dot::crossesLineEnd ? UREGEX_DOTALL : 0;
    compiled_->pattern.reset(icu::RegexPattern::compile(source, flags, parseError, status));
    if (U_SUCCESS(status)) {
        compiled_->matcher.reset(compiled_->pattern->matcher(status));
    }
    if (U_FAILURE(status)) {
        // Patterns are fixed in the program; a bad one is a programming error.
        fatal("invalid ICU pattern: " + std::string(pattern));
    }
}

IcuPattern::~IcuPattern() = default;

bool IcuPattern::matches(std::string_view utf8) {
    if (!compiled_->reset(utf8)) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    const bool matched = compiled_->matcher->matches(status);
    return U_SUCCESS(status) && matched;
}

std::vector<std::string_view> IcuPattern::findAll(std::string_view utf8) {
    std::vector<std::string_view> found;
    if (!compiled_->reset(utf8)) {
        return found;
    }
    UErrorCode status = U_ZERO_ERROR;
    auto& matcher = *compiled_->matcher;
    while (matcher.find(status) && U_SUCCESS(status)) {
        const auto start = static_cast<std::size_t>(matcher.start64(status));
        const auto end = static_cast<std::size_t>(matcher.end64(status));
        found.push_back(utf8.substr(start, end - start));
    }
    return found;
}

} // namespace quillet::text
