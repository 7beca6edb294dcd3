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

// The lines of a git patch that move a file; its hunks, if any, follow.
std::string renameHeader(const std::string& from, const std::string& to) {
    return "diff --git a/" + from + " b/" + to + "\nrename from " + from + "\nrename to " + to +
           "\n";
}

} // namespace

std::vector<FileChange> plannedChanges(const MRenameTool& tool) {
    std::vector<FileChange> changes;
    const auto relativeOf = [&](const std::string& path) {
        return path.substr(tool.rootPath().size() + 1);
    };
    for (const auto* file : tool.files()) {
        if (!file->mayChangeOnDisk() && !(file->readable() && file->moves())) {
            continue;
        }
        const auto before = fs::SourceReader::readBytes(file->inPath());
        const std::string beforeBytes = before.value_or(std::string());
        const std::string after = file->mayChangeOnDisk() ? file->contents() : beforeBytes;
        if (before && *before == after && !file->moves()) {
            continue;
        }
        const std::string from = relativeOf(file->inPath());
        const std::string to = relativeOf(file->outPath());
        const bool afterIsText = text::isValidUtf8(after);
        const std::string header = file->moves() ? renameHeader(from, to) : std::string();
        if (text::isValidUtf8(beforeBytes) && afterIsText) {
            changes.push_back(
                {to, header + text::unifiedDiff(beforeBytes, after, "a/" + from, "b/" + to), {}});
        } else {
            std::string note = noteOn(*file, afterIsText);
            if (file->moves()) {
                note += "; renamed from " + from;
            }
            changes.push_back({to, {}, std::move(note)});
        }
    }
    return changes;
}

} // namespace quillet
