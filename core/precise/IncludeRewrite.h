#pragma once

#include <string>
#include <vector>

#include "precise/FileMoves.h"
#include "precise/SourceFile.h"
#include "text/StringHash.h"

namespace quillet {

// The #import and #include lines that name a moved file, in the sources a run writes. An
// include is followed when its folders lead to a moved file from the including file's folder,
// from the project's folder or from any folder of the project; every file of the project with a
// class's file name moves with the class, so a name without folders always means a moved one. An
// include of such a name that leads nowhere in the project may mean a file elsewhere (another
// module's header): the class then keeps its file names. A source the run does not write that
// names a moved file keeps them too.
class IncludeRewrite {
public:
    // `written[f]`: whether the run writes loaded file f. Paths relative to `rootPath`.
    IncludeRewrite(const std::vector<SourceFile>& files, const std::vector<bool>& written,
                   const std::vector<PlannedMove>& moves, const std::string& rootPath);

    // The edits of file f.
    const std::vector<MoveEdit>& editsOf(std::size_t file) const { return edits_[file]; }
    const std::vector<MoveRefusal>& refusals() const { return refusals_; }

private:
    void readIncludes(std::size_t file, const std::string& relative);
    const PlannedMove* resolve(const std::string& includer, std::string_view included) const;

    const std::vector<SourceFile>& files_;
    const std::vector<PlannedMove>& moves_;
    text::StringMap<std::vector<std::size_t>> movesByName_; // old file name -> moves
    text::StringMap<std::size_t> moveByPath_;               // old path -> move
    std::vector<std::vector<MoveEdit>> edits_;
    std::vector<MoveRefusal> refusals_;
};

} // namespace quillet
