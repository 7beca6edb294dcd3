#pragma once

#include <string>
#include <vector>

#include "precise/AsciiPropertyList.h"
#include "precise/FileMoves.h"
#include "precise/SourceFile.h"

namespace quillet {

// What moving files changes in one Xcode project (a project.pbxproj): the path and name of each
// file reference that leads to a moved file, and the comments that name it. A reference of a
// moved file's name that leads elsewhere, or the name anywhere else in the project (a build
// setting, say), keeps the class's file names; so does every class when the project is not read
// the way Xcode writes it, or is not rewritten and names a moved file.
class XcodeProjectRewrite {
public:
    XcodeProjectRewrite(const SourceFile& project, bool written,
                        const std::vector<PlannedMove>& moves, const std::string& rootPath);

    const std::vector<MoveEdit>& edits() const { return edits_; }
    const std::vector<MoveRefusal>& refusals() const { return refusals_; }

private:
    void rewrite(const std::string& projectFolder);
    // Renames the file name that ends the string token at `span`; false when it is not
    // spelled there as it is read (escaped).
    bool renameEnd(TextSpan span, std::string_view oldName, const PlannedMove& move);
    void refuse(const PlannedMove& move, const std::string& why);
    void refuseAll(const std::string& why);

    const SourceFile& project_;
    const std::vector<PlannedMove>& moves_;
    std::vector<MoveEdit> edits_;
    std::vector<MoveRefusal> refusals_;
};

} // namespace quillet
