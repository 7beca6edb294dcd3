#include "job/PlannedChanges.h"

#include "fs/SourceReader.h"
#include "text/UnifiedDiff.h"

namespace quillet {

std::vector<FileChange> plannedChanges(const MRenameTool& tool) {
    std::vector<FileChange> changes;
    for (const auto* file : tool.files()) {
        if (!file->mayChangeOnDisk()) {
            continue;
        }
        const auto before = fs::SourceReader::read(file->inPath());
        const std::string relative = file->inPath().substr(tool.rootPath().size() + 1);
        std::string diff = text::unifiedDiff(before ? before->text : std::string(),
                                             file->decodedText(), "a/" + relative, "b/" + relative);
        // Same text, other bytes: a UTF-16 file the literal mode writes back as UTF-8.
        if (!diff.empty() || !before || before->utf16) {
            changes.push_back({relative, std::move(diff)});
        }
    }
    return changes;
}

} // namespace quillet
