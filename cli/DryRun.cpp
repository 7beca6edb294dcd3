#include "DryRun.h"

#include "fs/SourceReader.h"
#include "text/UnifiedDiff.h"

namespace quillet::cli {

std::size_t printChanges(const MRenameTool& tool, std::ostream& out) {
    std::size_t changed = 0;
    for (const auto& file : tool.allFiles()) {
        if (!file.mayChangeOnDisk()) {
            continue;
        }
        const auto before = fs::SourceReader::read(file.inPath());
        const std::string after = file.decodedText();
        const std::string relative = file.inPath().substr(tool.rootPath().size() + 1);
        const std::string diff =
            text::unifiedDiff(before.source.text, after, "a/" + relative, "b/" + relative);
        if (!diff.empty()) {
            out << diff;
            ++changed;
        } else if (!before.readable || before.source.utf16) {
            // Same text, other bytes: a UTF-16 file the literal mode writes back as UTF-8.
            out << "# " << relative << ": would be written back as UTF-8\n";
            ++changed;
        }
    }
    return changed;
}

} // namespace quillet::cli
