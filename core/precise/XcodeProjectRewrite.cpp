#include "precise/XcodeProjectRewrite.h"

#include <set>

#include "precise/XcodeProjectFile.h"
#include "text/StringHash.h"

namespace quillet {

namespace {

// The folder the project's paths start from: the one holding the .xcodeproj.
std::string projectFolderOf(const std::string& relative) {
    return folderOf(folderOf(relative));
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ') {
        text.remove_prefix(1);
    }
    while (!text.empty() && text.back() == ' ') {
        text.remove_suffix(1);
    }
    return text;
}

} // namespace

XcodeProjectRewrite::XcodeProjectRewrite(const SourceFile& project, bool written,
                                         const std::vector<PlannedMove>& moves,
                                         const std::string& rootPath)
    : project_(project), moves_(moves) {
    if (moves.empty()) {
        return;
    }
    if (!project.readable() || project.binary()) {
        refuseAll(project.inPath() + " cannot be read as text");
    } else if (!written) {
        for (const auto& move : moves) {
            if (mentionsFile(project.text(), lastComponent(move.from))) {
                refuse(move, project.inPath() + " names it and is not rewritten");
            }
        }
    } else {
        rewrite(projectFolderOf(project.inPath().substr(rootPath.size() + 1)));
    }
}

void XcodeProjectRewrite::rewrite(const std::string& projectFolder) {
    const auto parsed = XcodeProjectFile::parse(project_.text());
    if (!parsed) {
        refuseAll(project_.inPath() + " is not read as an Xcode project");
        return;
    }
    text::StringMap<const PlannedMove*> byPath;
    text::StringMap<const PlannedMove*> byName; // files of one name move to one name
    for (const auto& move : moves_) {
        byPath.emplace(move.from, &move);
        byName.emplace(lastComponent(move.from), &move);
    }
    std::set<std::size_t> followed; // the strings rewritten, by offset
    for (const auto& reference : parsed->references()) {
        const auto pathName = lastComponent(reference.path);
        const auto named = byName.find(pathName);
        const auto shown = reference.name ? byName.find(*reference.name) : byName.end();
        if (named == byName.end() && shown == byName.end()) {
            continue;
        }
        const auto location =
            reference.location
                ? normalPath(projectFolder.empty() ? *reference.location
                                                   : projectFolder + "/" + *reference.location)
                : std::nullopt;
        const auto moved = location ? byPath.find(*location) : byPath.end();
        const PlannedMove& owner = *(named != byName.end() ? named : shown)->second;
        if (moved == byPath.end()) {
            refuse(owner, project_.inPath() + " refers to " + reference.path +
                              ", which is not a file the run moves");
            continue;
        }
        if (!renameEnd(reference.pathSpan, pathName, *moved->second)) {
            continue;
        }
        followed.insert(reference.pathSpan.offset);
        if (reference.name && *reference.name == pathName) {
            if (!renameEnd(reference.nameSpan, pathName, *moved->second)) {
                continue;
            }
            followed.insert(reference.nameSpan.offset);
        }
    }
    const std::string& text = project_.text();
    for (const auto& comment : parsed->list().comments()) {
        const auto inside = std::string_view(text).substr(comment.offset, comment.length);
        const auto said = trimmed(inside);
        const auto name = said.substr(0, said.find(" in "));
        if (const auto it = byName.find(name); it != byName.end()) {
            edits_.push_back(
                {comment.offset + static_cast<std::size_t>(name.data() - inside.data()),
                 name.size(), std::string(lastComponent(it->second->to)), it->second->owner});
        }
    }
    for (const auto* string : parsed->list().strings()) {
        if (followed.contains(string->span.offset)) {
            continue;
        }
        for (const auto& move : moves_) {
            if (mentionsFile(string->text, lastComponent(move.from))) {
                refuse(move, project_.inPath() + " names it in \"" + string->text + "\"");
            }
        }
    }
}

bool XcodeProjectRewrite::renameEnd(TextSpan span, std::string_view oldName,
                                    const PlannedMove& move) {
    const std::string& text = project_.text();
    const bool quoted = text[span.offset] == '"';
    const std::size_t end = span.offset + span.length - (quoted ? 1 : 0);
    if (end < span.offset + oldName.size() ||
        std::string_view(text).substr(end - oldName.size(), oldName.size()) != oldName) {
        refuse(move, project_.inPath() + " writes " + std::string(oldName) + " escaped");
        return false;
    }
    edits_.push_back(
        {end - oldName.size(), oldName.size(), std::string(lastComponent(move.to)), move.owner});
    return true;
}

void XcodeProjectRewrite::refuse(const PlannedMove& move, const std::string& why) {
    refusals_.push_back({move.owner, why});
}

void XcodeProjectRewrite::refuseAll(const std::string& why) {
    for (const auto& move : moves_) {
        refuse(move, why);
    }
}

} // namespace quillet
