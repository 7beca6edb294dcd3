#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quillet {

// The files that name a project's sources outside its code and its Xcode project: CocoaPods
// files, module maps, Swift package manifests, CMake and make files. The run does not rewrite
// them, so a class's files keep their names when one of these names a file, or holds a pattern
// that takes the old name and the new one differently ('Sources/FM*.{h,m}').
class SourceListings {
public:
    // Reads the listings among `listedPaths` (relative to `rootPath`).
    SourceListings(const std::string& rootPath, const std::vector<std::string>& listedPaths);

    // Why the file `from` cannot become `to` (both relative to the root), or nothing.
    std::optional<std::string> refusal(const std::string& from, const std::string& to) const;

private:
    struct Listing {
        std::string path; // relative to the root
        std::string text;
        std::vector<std::string> patterns; // relative to the root, braces expanded
    };

    std::vector<Listing> listings_;
};

} // namespace quillet
