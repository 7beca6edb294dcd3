#include "job/PlannedChanges.h"

#include "fs/SourceReader.h"
#include "text/UnifiedDiff.h"
#include "text/Utf.h"

namespace quillet {

namespace {

// What a patch cannot show: a change to or from bytes that are not UTF-8.
std::string noteOn(const ProjectFile& file, bool writtenAsUtf8) {
    if (writtenAsUtf8) {
        return "would be written back as UTF-8";
    }
    return std::string("would be written back in ") + (file.utf16() ? "UTF-16" : "its encoding") +
           " with the new names; a patch cannot show it";
}

} // namespace

std::vector<FileChange> plannedChanges(const MRenameTool& tool) {
    std::vector<FileChange> changes;
    for (const auto* file : tool.files()) {
        if (!file->mayChangeOnDisk()) {
            continue;
        }
        const auto before = fs::SourceReader::readBytes(file->inPath());
        const std::string beforeBytes = before.value_or(std::string());
        const std::string after = file->contents();
        if (before && *before == after) {
            continue;
        }
        const std::string relative = file->inPath().substr(tool.rootPath().size() + 1);
        const bool afterIsText = text::isValidUtf8(after);
        if (text::isValidUtf8(beforeBytes) && afterIsText) {
            changes.push_back(
                {relative,
                 text::unifiedDiff(beforeBytes, after, "a/" + relative, "b/" + relative),
                 {}});
        } else {
            changes.push_back({relative, {}, noteOn(*file, afterIsText)});
        }
    }
    return changes;
}

} // namespace quillet
