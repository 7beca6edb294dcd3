#include "precise/ClassFileRenames.h"

#include <algorithm>
#include <cctype>
#include <set>

#include <sys/stat.h>

#include "log/Log.h"
#include "precise/IncludeRewrite.h"
#include "precise/SourceListings.h"
#include "precise/XcodeProjectFile.h"
#include "precise/XcodeProjectRewrite.h"
#include "text/StringHash.h"

namespace quillet {

namespace {

std::string lowered(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

bool isLink(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool exists(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0;
}

// The class a file is named after ("Foo" for Foo.h, Foo.mm and Foo+Extras.m), and the rest of
// its name after it; nothing for a file of another kind.
std::optional<std::pair<std::string_view, std::string_view>>
classOfFileName(std::string_view name) {
    const auto dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    const auto extension = name.substr(dot);
    if (extension != ".h" && extension != ".m" && extension != ".mm") {
        return std::nullopt;
    }
    const auto end = std::min(name.find('+'), dot);
    return std::pair{name.substr(0, end), name.substr(end)};
}

} // namespace

ClassFileRenames::ClassFileRenames(std::vector<SourceFile>& files, const ProjectIndex& index,
                                   std::string rootPath,
                                   const std::vector<std::string>& listedPaths)
    : files_(files), index_(index), rootPath_(std::move(rootPath)), listedPaths_(listedPaths) {}

bool ClassFileRenames::writes(std::size_t f) const {
    const auto& file = files_[f];
    return file.readable() && !file.ignored() && !file.binary() && !file.encodingUnsure() &&
           !isLink(file.inPath()) &&
           (file.kind() != SourceKind::header && file.kind() != SourceKind::implementation
                ? isXcodeProjectPath(file.inPath())
                : index_.parsed(f));
}

std::vector<PlannedMove> ClassFileRenames::plan(const std::vector<TypeRename>& renames,
                                                std::vector<MoveRefusal>& refusals) const {
    text::StringMap<std::size_t> renamed;
    for (std::size_t r = 0; r < renames.size(); ++r) {
        if (renames[r].kind == TypeName::Kind::classType) {
            renamed.emplace(renames[r].from, r);
        }
    }
    text::StringMap<std::size_t> loaded;
    for (std::size_t f = 0; f < files_.size(); ++f) {
        loaded.emplace(files_[f].inPath().substr(rootPath_.size() + 1), f);
    }
    std::set<std::string> taken; // every entry, as a file system blind to case sees it
    for (const auto& path : listedPaths_) {
        taken.insert(lowered(path));
    }
    const SourceListings listings(rootPath_, listedPaths_);
    std::vector<PlannedMove> moves;
    for (const auto& path : listedPaths_) {
        const auto named = classOfFileName(lastComponent(path));
        const auto owner = named ? renamed.find(named->first) : renamed.end();
        if (owner == renamed.end()) {
            continue;
        }
        const std::string folder = folderOf(path);
        const std::string to = (folder.empty() ? "" : folder + "/") + renames[owner->second].to +
                               std::string(named->second);
        const auto file = loaded.find(path);
        if (file == loaded.end() || !writes(file->second)) {
            refusals.push_back({owner->second, path + " is not a file the run writes"});
        } else if (taken.contains(lowered(to)) || exists(rootPath_ + "/" + to)) {
            refusals.push_back({owner->second, to + " is there already"});
        } else if (auto why = listings.refusal(path, to)) {
            refusals.push_back({owner->second, std::move(*why)});
        } else {
            moves.push_back({file->second, path, to, owner->second});
        }
    }
    return moves;
}

void ClassFileRenames::run(const std::vector<TypeRename>& renames) {
    std::vector<MoveRefusal> refusals;
    const auto moves = plan(renames, refusals);
    std::vector<bool> written(files_.size());
    for (std::size_t f = 0; f < files_.size(); ++f) {
        written[f] = writes(f);
    }
    const IncludeRewrite includes(files_, written, moves, rootPath_);
    refusals.insert(refusals.end(), includes.refusals().begin(), includes.refusals().end());
    std::vector<std::vector<MoveEdit>> edits(files_.size());
    for (std::size_t f = 0; f < files_.size(); ++f) {
        edits[f] = includes.editsOf(f);
        if (isXcodeProjectPath(files_[f].inPath())) {
            const XcodeProjectRewrite project(files_[f], written[f], moves, rootPath_);
            edits[f].insert(edits[f].end(), project.edits().begin(), project.edits().end());
            refusals.insert(refusals.end(), project.refusals().begin(), project.refusals().end());
        }
    }
    std::vector<bool> kept(renames.size(), false);
    for (const auto& refusal : refusals) {
        if (!kept[refusal.owner]) {
            kept[refusal.owner] = true;
            QLOG("class " + renames[refusal.owner].from + " keeps its file names: " + refusal.why);
        }
    }
    for (std::size_t f = 0; f < files_.size(); ++f) {
        std::erase_if(edits[f], [&](const MoveEdit& edit) { return kept[edit.owner]; });
        if (!edits[f].empty()) {
            files_[f].setText(withEdits(files_[f].text(), std::move(edits[f])));
        }
    }
    for (const auto& move : moves) {
        if (!kept[move.owner]) {
            files_[move.file].moveTo(rootPath_ + "/" + move.to);
            QLOG("class " + renames[move.owner].from + ": " + move.from + " -> " + move.to);
        }
    }
}

} // namespace quillet
