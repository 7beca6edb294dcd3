#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "precise/AsciiPropertyList.h"

namespace quillet {

// Whether the file at `path` is an Xcode project's list of files and settings.
inline bool isXcodeProjectPath(std::string_view path) {
    return path.ends_with(".xcodeproj/project.pbxproj");
}

// A file an Xcode project refers to, and where the project writes its name.
struct XcodeFileReference {
    // Where the file is, relative to the folder holding the .xcodeproj (may hold ".."); nothing
    // when it lies in the SDK, the build products or elsewhere the groups cannot tell.
    std::optional<std::string> location;
    std::string path; // as the reference gives it
    TextSpan pathSpan;
    std::optional<std::string> name; // the name Xcode shows, when it has its own
    TextSpan nameSpan;
};

// A project.pbxproj read the way Xcode writes it: each file reference with where it lies,
// following its groups. Text that is not such a project is not read at all.
class XcodeProjectFile {
public:
    static std::optional<XcodeProjectFile> parse(std::string_view text);

    const std::vector<XcodeFileReference>& references() const { return references_; }
    const AsciiPropertyList& list() const { return list_; }

private:
    explicit XcodeProjectFile(AsciiPropertyList list) : list_(std::move(list)) {}
    bool readReferences();

    AsciiPropertyList list_;
    std::vector<XcodeFileReference> references_;
};

} // namespace quillet
