#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quillet::text {

// An ICU regular expression evaluated over UTF-8 text without copying it. ICU, not std::regex,
// because the patterns rely on ICU's meaning of `\s`, `\w` and `.`.
// One instance keeps one matcher, so it must be used by one thread at a time.
class IcuPattern {
public:
    enum class Dot { stopsAtLineEnd, crossesLineEnd };

    explicit IcuPattern(std::string_view pattern, Dot dot = Dot::stopsAtLineEnd);
    ~IcuPattern();
    IcuPattern(const IcuPattern&) = delete;
    IcuPattern& operator=(const IcuPattern&) = delete;

    // True when the whole text matches.
    bool matches(std::string_view utf8);
    // Every non-overlapping match, left to right, as views into `utf8`.
    std::vector<std::string_view> findAll(std::string_view utf8);

private:
    struct Compiled;
    std::unique_ptr<Compiled> compiled_;
};

} // namespace quillet::text
