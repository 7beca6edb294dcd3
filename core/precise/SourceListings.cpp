#include "precise/SourceListings.h"

#include <algorithm>

#include <fnmatch.h>

#include "fs/SourceReader.h"
#include "precise/FileMoves.h"

namespace quillet {

namespace {

bool isListing(std::string_view path) {
    const auto name = lastComponent(path);
    return path.ends_with(".podspec") || path.ends_with(".podspec.json") ||
           path.ends_with(".modulemap") || name == "Package.swift" || name == "CMakeLists.txt" ||
           path.ends_with(".cmake") || name == "Makefile" || path.ends_with(".mk");
}

bool isWordCharacter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' ||
           c == '+';
}

// Whether `text` holds `name` with no letter, digit, "_" or "+" on either side.
bool namesWhole(std::string_view text, std::string_view name) {
    for (auto at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const auto end = at + name.size();
        if ((at == 0 || !isWordCharacter(text[at - 1])) &&
            (end == text.size() || !isWordCharacter(text[end]))) {
            return true;
        }
    }
    return false;
}

// "a/*.{h,m}" -> "a/*.h", "a/*.m", one level of braces after another.
std::vector<std::string> expandBraces(const std::string& pattern) {
    const auto open = pattern.find('{');
    const auto close = open == std::string::npos ? open : pattern.find('}', open);
    if (close == std::string::npos) {
        return {pattern};
    }
    std::vector<std::string> expanded;
    const std::string head = pattern.substr(0, open);
    const std::string tail = pattern.substr(close + 1);
    std::size_t start = open + 1;
    while (start <= close) {
        const auto comma = std::min(pattern.find(',', start), close);
        for (auto& rest : expandBraces(tail)) {
            expanded.push_back(head + pattern.substr(start, comma - start) + rest);
        }
        start = comma + 1;
    }
    return expanded;
}

// The quoted texts of a listing that are file patterns, relative to the root.
std::vector<std::string> patternsOf(const std::string& text, const std::string& folder) {
    std::vector<std::string> patterns;
    for (std::size_t at = 0; at < text.size(); ++at) {
        const char quote = text[at];
        if (quote != '\'' && quote != '"') {
            continue;
        }
        const auto end = text.find(quote, at + 1);
        if (end == std::string::npos) {
            break;
        }
        const std::string quoted = text.substr(at + 1, end - at - 1);
        if (quoted.find_first_of("*?[") != std::string::npos && quoted.find('\n') == quoted.npos) {
            for (auto& pattern : expandBraces(quoted)) {
                patterns.push_back(folder.empty() ? pattern : folder + "/" + pattern);
            }
        }
        at = end;
    }
    return patterns;
}

bool matches(const std::string& pattern, const std::string& path) {
    // Without FNM_PATHNAME "*" crosses folders, as "**" does in a CocoaPods pattern: it may take
    // more paths than the tool that reads the pattern, never fewer.
    return ::fnmatch(pattern.c_str(), path.c_str(), 0) == 0;
}

} // namespace

SourceListings::SourceListings(const std::string& rootPath,
                               const std::vector<std::string>& listedPaths) {
    for (const auto& path : listedPaths) {
        if (!isListing(path)) {
            continue;
        }
        auto read = fs::SourceReader::read(rootPath + "/" + path);
        if (read) {
            auto patterns = patternsOf(read->text, folderOf(path));
            listings_.push_back({path, std::move(read->text), std::move(patterns)});
        }
    }
}

std::optional<std::string> SourceListings::refusal(const std::string& from,
                                                   const std::string& to) const {
    for (const auto& listing : listings_) {
        if (namesWhole(listing.text, lastComponent(from))) {
            return listing.path + " names " + std::string(lastComponent(from));
        }
        for (const auto& pattern : listing.patterns) {
            if (matches(pattern, from) != matches(pattern, to)) {
                return "the pattern " + pattern + " of " + listing.path + " takes " + from +
                       " and " + to + " differently";
            }
        }
    }
    return std::nullopt;
}

} // namespace quillet
