#include "engine/MRenameTool.h"

#include <algorithm>
#include <cctype>
#include <numeric>

#include <unistd.h>

#include "concurrency/ParallelFor.h"
#include "engine/DeclarationParser.h"
#include "engine/LiteralRename.h"
#include "engine/RenameTexts.h"
#include "engine/WriteBack.h"
#include "fs/DirectoryLister.h"
#include "fs/Durability.h"
#include "fs/StaleTemporaries.h"
#include "log/Log.h"
#include "notify/Notify.h"
#include "text/Text.h"

namespace quillet {

namespace {

constexpr unsigned kWriteThreads = 4;
// Names drawn for one method before a run gives up finding one its mode admits.
constexpr int namingAttempts = 1000;

bool isIgnored(std::string_view subpath, const std::vector<std::string>& ignoring) {
    return std::any_of(ignoring.begin(), ignoring.end(),
                       [&](const std::string& prefix) { return subpath.starts_with(prefix); });
}

bool exists(const std::string& path) {
    return ::access(path.c_str(), F_OK) == 0;
}

bool hasImplementationBeside(const std::string& header) {
    const std::string stem = header.substr(0, header.size() - 2);
    return exists(stem + ".mm") || exists(stem + ".m");
}

} // namespace

MRenameTool::MRenameTool(RandomSource& random, std::unique_ptr<RenameStrategy> mode)
    : mode_(mode ? std::move(mode) : std::make_unique<LiteralRename>()), names_(random) {}

MRenameTool::~MRenameTool() = default;

bool MRenameTool::loadFiles(const std::vector<std::string>& ignoring) {
    const auto listing = fs::listRecursively(rootPath_);
    return listing && loadFiles(*listing, ignoring);
}

bool MRenameTool::loadFiles(const fs::Listing& listing, const std::vector<std::string>& ignoring,
                            const FileProgress& progress) {
    unlistedFolders_ = listing.unlistedFolders;
    listedPaths_ = listing.subpaths;
    std::vector<std::pair<std::string, bool>> toRead; // sub-path, ignored
    for (const auto& subpath : listing.subpaths) {
        const bool ignored = isIgnored(subpath, ignoring) || mode_->leavesAlone(subpath);
        if (mode_->reads(rootPath_, subpath, ignored)) {
            toRead.emplace_back(subpath, ignored);
        }
    }
    for (std::size_t i = 0; i < toRead.size(); ++i) {
        if (progress) {
            progress(i, toRead.size());
        }
        const auto& [subpath, ignored] = toRead[i];
        const std::string fullPath = rootPath_ + "/" + subpath;
        mode_->load(fullPath, ignored);
        if (!ignored && fullPath.ends_with(".h") && hasImplementationBeside(fullPath)) {
            headerFileIndex_.push_back(mode_->fileCount() - 1);
        }
    }
    if (progress) {
        progress(toRead.size(), toRead.size());
    }
    headerFileIndex_ = mode_->ownHeaders(headerFileIndex_);
    for (const auto header : headerFileIndex_) {
        headerFiles_.push_back(mode_->file(header).inPath());
    }
    return !headerFiles_.empty();
}

std::vector<const ProjectFile*> MRenameTool::files() const {
    std::vector<const ProjectFile*> all;
    all.reserve(mode_->fileCount());
    for (std::size_t i = 0; i < mode_->fileCount(); ++i) {
        all.push_back(&mode_->file(i));
    }
    return all;
}

void MRenameTool::collectMethods() {
    auto collection = mode_->collect(headerFileIndex_);
    collected_.insert(collected_.end(), std::make_move_iterator(collection.methods.begin()),
                      std::make_move_iterator(collection.methods.end()));
    protected_ = std::move(collection.protections);
}

void MRenameTool::parseDeclaration(std::string_view declaration, const std::string& file) {
    if (auto method = methodOfDeclaration(declaration, file)) {
        collected_.push_back(std::move(*method));
    }
}

const ProtectionReason* MRenameTool::protectionOf(const std::string& selector) const {
    const auto it = protected_.find(selector);
    return it == protected_.end() ? nullptr : &it->second;
}

const std::vector<MethodModel>& MRenameTool::allMethodNames() {
    if (allMethodNames_) {
        return *allMethodNames_;
    }
    auto& methods = allMethodNames_.emplace();
    for (const auto& method : candidateMethods()) {
        if (!protected_.contains(method.selector())) {
            methods.push_back(method);
        }
    }
    return methods;
}

const std::vector<MethodModel>& MRenameTool::candidateMethods() {
    if (candidates_) {
        return *candidates_;
    }
    std::vector<std::string> selectors;
    for (const auto& method : collected_) {
        selectors.push_back(method.selector());
    }
    std::vector<std::size_t> order(collected_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return text::compareUtf16(selectors[a], selectors[b]) > 0;
    });
    order.erase(
        std::unique(order.begin(), order.end(),
                    [&](std::size_t a, std::size_t b) { return selectors[a] == selectors[b]; }),
        order.end());
    std::vector<std::size_t> lengths(collected_.size());
    for (const auto i : order) {
        lengths[i] = text::utf16Length(selectors[i]);
    }
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return lengths[a] > lengths[b]; });
    auto& methods = candidates_.emplace();
    for (const auto i : order) {
        methods.push_back(collected_[i]);
    }
    return methods;
}

std::optional<std::vector<RenamePair>>
MRenameTool::makeNewNames(const std::vector<std::string>& words) {
    const auto& methods = allMethodNames();
    // The names given again go first, so that no fresh name takes one of them.
    std::vector<std::optional<MethodModel>> given(methods.size());
    for (std::size_t m = 0; reused_ && m < methods.size(); ++m) {
        auto again = reused_->methodName(methods[m]);
        if (again && mode_->admit(*again)) {
            given[m] = std::move(again);
        } else if (again) {
            reused_->refuse(entryKindOfSelector(methods[m].selector()), methods[m].selector());
        }
    }
    std::vector<RenamePair> pairs;
    for (std::size_t m = 0; m < methods.size(); ++m) {
        for (int attempt = 1; !given[m]; ++attempt) {
            auto renamed = newNameFor(methods[m], words);
            if (!renamed) {
                return std::nullopt;
            }
            if (!(reused_ && reused_->taken(renamed->selector())) && mode_->admit(*renamed)) {
                given[m] = std::move(renamed);
            } else if (attempt == namingAttempts) {
                return std::nullopt;
            }
        }
        pairs.push_back(RenamePair{methods[m], std::move(*given[m])});
    }
    return pairs;
}

std::optional<MethodModel> MRenameTool::newNameFor(const MethodModel& method,
                                                   const std::vector<std::string>& words) {
    MethodModel renamed;
    for (std::size_t k = 0; k < method.elements.size(); ++k) {
        if (method.elements[k] == ":") {
            renamed.elements.emplace_back(":"); // an empty keyword stays empty
            continue;
        }
        std::string piece;
        if (words.empty()) {
            piece = names_.randomString(names_.randomPieceLength(), true);
        } else if (auto word = names_.pickWord(words)) {
            piece = std::move(*word);
        } else {
            return std::nullopt;
        }
        if (method.elements[k].find(':') != std::string::npos) {
            piece += ':';
        } else if (methodPrefix_.empty() && !piece.empty()) {
            // An argument-less method's name stays one lowerCamel piece.
            piece[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(piece[0])));
        }
        if (k == 0) {
            piece.insert(0, methodPrefix_);
        }
        renamed.elements.push_back(std::move(piece));
    }
    return renamed;
}

std::optional<std::vector<TypeRename>>
MRenameTool::makeTypeNames(const std::vector<std::string>& words, const std::string& classPrefix) {
    std::vector<TypeName> types = mode_->typeNames();
    std::erase_if(types, [](const TypeName& type) { return type.protection.has_value(); });
    std::vector<std::optional<std::string>> given(types.size());
    for (std::size_t t = 0; reused_ && t < types.size(); ++t) {
        auto again = reused_->typeName(types[t].kind, types[t].name);
        if (again && mode_->admitTypeName(types[t].kind, *again)) {
            given[t] = std::move(again);
        } else if (again) {
            reused_->refuse(entryKindOf(types[t].kind), types[t].name);
        }
    }
    std::vector<TypeRename> renames;
    for (std::size_t t = 0; t < types.size(); ++t) {
        for (int attempt = 1; !given[t]; ++attempt) {
            auto name = types[t].kind == TypeName::Kind::property ? newPropertyName(words)
                                                                  : newTypeName(words, classPrefix);
            if (!name) {
                return std::nullopt;
            }
            if (!(reused_ && reused_->taken(*name)) && mode_->admitTypeName(types[t].kind, *name)) {
                given[t] = std::move(name);
            } else if (attempt == namingAttempts) {
                return std::nullopt;
            }
        }
        renames.push_back({types[t].kind, types[t].name, std::move(*given[t])});
    }
    return renames;
}

std::optional<std::string> MRenameTool::newTypeName(const std::vector<std::string>& words,
                                                    const std::string& classPrefix) {
    std::string name = classPrefix;
    for (int part = 0; part < wordsPerTypeName; ++part) {
        std::string piece;
        if (words.empty()) {
            piece = names_.randomString(names_.randomPieceLength() / wordsPerTypeName, true);
        } else if (auto word = names_.pickWord(words)) {
            piece = std::move(*word);
        } else {
            return std::nullopt;
        }
        piece[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(piece[0])));
        name += piece;
    }
    return name;
}

std::optional<std::string> MRenameTool::newPropertyName(const std::vector<std::string>& words) {
    // The same words as a class's, lowerCamel, after the method prefix: a property's name is
    // its getter's.
    auto name = newTypeName(words, {});
    if (name && methodPrefix_.empty()) {
        (*name)[0] = static_cast<char>(std::tolower(static_cast<unsigned char>((*name)[0])));
    }
    if (name) {
        name->insert(0, methodPrefix_);
    }
    return name;
}

bool MRenameTool::replace(const std::vector<RenamePair>& factor) {
    writeOutputs(rewrite(factor));
    return true;
}

std::string MRenameTool::rewrite(const std::vector<RenamePair>& factor,
                                 const PairProgress& progress) {
    std::string nameList;
    for (std::size_t i = 0; i < factor.size(); ++i) {
        nameList += nameListEntry(i + 1, factor.size(), factor[i]);
    }
    mode_->rewrite(factor, [&](std::size_t index) {
        Notify::center().post(Notification::progress,
                              progressText(index + 1, factor.size(), factor[index]));
        if (progress) {
            progress(index);
        }
    });
    return nameList;
}

std::vector<MovedFile> MRenameTool::movedFiles() const {
    std::vector<MovedFile> moved;
    for (const auto* file : files()) {
        if (file->moves()) {
            moved.push_back({file->inPath().substr(rootPath_.size() + 1),
                             file->outPath().substr(rootPath_.size() + 1)});
        }
    }
    return moved;
}

std::vector<const ProjectFile*> MRenameTool::unreadableFiles() const {
    std::vector<const ProjectFile*> unreadable;
    for (std::size_t i = 0; i < mode_->fileCount(); ++i) {
        if (!mode_->file(i).readable()) {
            unreadable.push_back(&mode_->file(i));
        }
    }
    return unreadable;
}

void MRenameTool::removeMovedFiles(std::vector<ProjectFile::WriteResult>& results) const {
    const auto moved = [&](std::size_t i) {
        return mode_->file(i).moves() && results[i].outcome == ProjectFile::WriteOutcome::written;
    };
    bool any = false;
    for (std::size_t i = 0; i < results.size() && !any; ++i) {
        any = moved(i);
    }
    if (!any) {
        return;
    }
    // The old name goes only once the new file is on disk: a crash in between leaves both.
    const auto synced = fs::syncFileSystemOf(rootPath_);
    for (std::size_t i = 0; i < results.size(); ++i) {
        if (!moved(i)) {
            continue;
        }
        const auto& file = mode_->file(i);
        if (!synced) {
            results[i] = {ProjectFile::WriteOutcome::failed,
                          "Kept " + file.inPath() + " beside " + file.outPath() +
                              ": the new file could not be made durable (" +
                              synced.error().message + ")"};
        } else if (auto removed = file.removeOldName(); !removed) {
            results[i] = {ProjectFile::WriteOutcome::failed, removed.error().message};
        }
    }
}

void MRenameTool::writeOutputs(const std::optional<std::string>& nameList,
                               const FileProgress& progress,
                               const std::optional<std::string>& nameTable) {
    writeReport_ = {};
    for (const auto& removed : fs::removeStaleTemporaries(rootPath_, listedPaths_)) {
        QLOG_AS("write(toFile:_:)", "Removed " + removed + ", left by a run that was stopped");
    }
    // The list is the only record of the new names: without it, nothing may change.
    writeReport_.listWritten =
        !nameList || writeLogged(*nameList, rootPath_ + "/MethodReplaceList.txt", "write(toFile:)");
    if (!writeReport_.listWritten) {
        return;
    }
    if (nameList) {
        QLOG_AS("write(toFile:)", "MethodReplaceList.txt", *nameList);
    }
    if (nameTable) {
        writeReport_.listWritten =
            writeLogged(*nameTable, rootPath_ + "/" + nameTableFile, "write(toFile:)");
        if (!writeReport_.listWritten) {
            return;
        }
    }
    std::vector<ProjectFile::WriteResult> results(mode_->fileCount());
    if (progress) {
        progress(0, results.size());
    }
    // Creating and renaming files is mostly the file system's work, which overlaps well.
    parallelForReporting(
        results.size(), kWriteThreads,
        [&](std::size_t i) { results[i] = mode_->file(i).writeBack(); },
        [&](std::size_t done) {
            if (progress) {
                progress(done, results.size());
            }
        });
    removeMovedFiles(results);
    for (const auto& result : results) {
        switch (result.outcome) {
        case ProjectFile::WriteOutcome::written:
            ++writeReport_.written;
            break;
        case ProjectFile::WriteOutcome::unchanged:
            ++writeReport_.unchanged;
            break;
        case ProjectFile::WriteOutcome::failed:
            ++writeReport_.failed;
            log(QLOG_SITE("write(toFile:_:)"), result.error);
            break;
        case ProjectFile::WriteOutcome::notRead:
            break;
        }
    }
    writeReport_.synced = fs::syncFileSystemOf(rootPath_).ok();
}

} // namespace quillet
