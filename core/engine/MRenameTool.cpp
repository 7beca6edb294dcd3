#include "engine/MRenameTool.h"

#include <algorithm>
#include <numeric>

#include <unistd.h>

#include "concurrency/ParallelFor.h"
#include "engine/ReplacementPass.h"
#include "engine/WriteBack.h"
#include "fs/DirectoryLister.h"
#include "fs/Durability.h"
#include "fs/StaleTemporaries.h"
#include "log/Log.h"
#include "precise/NameGuard.h"
#include "precise/ProjectIndex.h"
#include "precise/SelectorRewrite.h"
#include "text/Text.h"

namespace quillet {

namespace {

constexpr unsigned kWriteThreads = 4;
// Names drawn for one method before a precise run gives up finding one that is free.
constexpr int namingAttempts = 1000;

bool isSourcePath(std::string_view path) {
    return path.ends_with(".h") || path.ends_with(".mm") || path.ends_with(".m");
}

bool isInterfacePath(std::string_view path) {
    return path.ends_with(".xib") || path.ends_with(".storyboard");
}

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

MRenameTool::MRenameTool(RandomSource& random, RenameMode mode) : mode_(mode), names_(random) {}

MRenameTool::~MRenameTool() = default;

bool MRenameTool::loadFiles(const std::vector<std::string>& ignoring) {
    const auto listing = fs::listRecursively(rootPath());
    if (!listing) {
        return false;
    }
    unlistedFolders_ = listing->unlistedFolders;
    listedPaths_ = listing->subpaths;
    const bool precise = mode_ == RenameMode::precise;
    for (const auto& subpath : listing->subpaths) {
        const bool ignored = isIgnored(subpath, ignoring);
        if ((ignored && !precise) ||
            !(isSourcePath(subpath) || (precise && isInterfacePath(subpath)))) {
            continue;
        }
        const std::string fullPath = rootPath() + "/" + subpath;
        if (precise) {
            loadWholeFile(fullPath, ignored);
        } else {
            loadFile(fullPath);
        }
        if (!ignored && fullPath.ends_with(".h") && hasImplementationBeside(fullPath)) {
            headerFiles_.push_back(fullPath);
            headerFileIndex_.push_back(allFiles().size() - 1);
        }
    }
    return !headerFiles_.empty();
}

void MRenameTool::collectMethods() {
    if (mode_ == RenameMode::precise) {
        collectFromTokens();
        return;
    }
    auto& predicate = this->predicate();
    for (const auto index : headerFileIndex_) {
        const FileModel& header = allFiles()[index];
        if (!header.readable()) {
            continue;
        }
        const std::string text = text::join(header.datas(), ";");
        std::string declaration;
        for (const auto line : text::splitViews(text, '\n')) {
            if (predicate.matches(line)) {
                // A declaration left open is dropped when the next one starts.
                declaration = line;
            }
            if (declaration.empty()) {
                continue;
            }
            const bool ends = line.find(';') != std::string_view::npos;
            if (declaration != line) {
                declaration += line;
            }
            if (ends) {
                parseDeclaration(declaration, header.inFile());
                declaration.clear();
            }
        }
    }
}

void MRenameTool::parseDeclaration(std::string_view declaration, const std::string& file) {
    if (declaration.find('^') != std::string_view::npos) {
        return; // block types are left alone
    }
    MethodModel method;
    method.file = file;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= declaration.size(); ++i) {
        if (i < declaration.size() && declaration[i] != ')' && declaration[i] != ' ' &&
            declaration[i] != '(') {
            continue;
        }
        const auto piece = declaration.substr(start, i - start);
        if (piece.find(':') != std::string_view::npos && text::utf16Length(piece) > 2) {
            method.elements.emplace_back(piece);
        }
        start = i + 1;
    }
    const std::string selector = method.selector();
    if (method.elements.empty() || selector.starts_with("init") || selector.starts_with("set")) {
        return;
    }
    collected_.push_back(std::move(method));
}

void MRenameTool::collectFromTokens() {
    index_ = std::make_unique<ProjectIndex>(allFiles());
    collected_ = index_->declaredMethods(headerFileIndex_);
    std::vector<bool> ownHeader(allFiles().size(), false);
    for (const auto index : headerFileIndex_) {
        ownHeader[index] = true;
    }
    SelectorSet candidates;
    for (const auto& method : collected_) {
        candidates.insert(method.selector());
    }
    const ProtectionRules rules(allFiles(), *index_, ownHeader, inputs_, candidates);
    for (const auto& selector : candidates) {
        if (auto reason = rules.reasonFor(selector)) {
            protected_.emplace(selector, std::move(*reason));
        }
    }
    SelectorSet taken = index_->selectorsInUse();
    taken.insert(inputs_.userList.begin(), inputs_.userList.end());
    guard_ = std::make_unique<NameGuard>(std::move(taken), inputs_.sdk);
}

const ProtectionReason* MRenameTool::protectionOf(const std::string& selector) const {
    const auto it = protected_.find(selector);
    return it == protected_.end() ? nullptr : &it->second;
}

std::vector<UnparsedFile> MRenameTool::unparsedFiles() const {
    std::vector<UnparsedFile> files;
    for (std::size_t f = 0; index_ && f < allFiles().size(); ++f) {
        const auto& problems = index_->factsOf(f).problems;
        if (!problems.empty() && !allFiles()[f].ignored()) {
            files.push_back({allFiles()[f].inPath(), text::join(problems, "; ")});
        }
    }
    return files;
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
    std::vector<RenamePair> pairs;
    for (const auto& method : allMethodNames()) {
        std::optional<MethodModel> renamed;
        for (int attempt = 1;; ++attempt) {
            renamed = newNameFor(method, words);
            if (!renamed) {
                return std::nullopt;
            }
            if (!guard_ || guard_->admit(*renamed)) {
                break;
            }
            if (attempt == namingAttempts) {
                return std::nullopt;
            }
        }
        pairs.push_back(RenamePair{method, std::move(*renamed)});
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
        piece += ':';
        if (k == 0) {
            piece.insert(0, methodPrefix_);
        }
        renamed.elements.push_back(std::move(piece));
    }
    return renamed;
}

bool MRenameTool::replace(const std::vector<RenamePair>& factor) {
    writeOutputs(rewrite(factor));
    return true;
}

std::string MRenameTool::rewrite(const std::vector<RenamePair>& factor) {
    if (mode_ == RenameMode::precise) {
        return SelectorRewrite(allFiles(), *index_).run(factor);
    }
    return ReplacementPass(*this).run(factor);
}

std::vector<const FileModel*> MRenameTool::unreadableFiles() const {
    std::vector<const FileModel*> files;
    for (const auto& file : allFiles()) {
        if (!file.readable()) {
            files.push_back(&file);
        }
    }
    return files;
}

void MRenameTool::writeOutputs(const std::string& nameList) {
    writeReport_ = {};
    for (const auto& removed : fs::removeStaleTemporaries(rootPath(), listedPaths_)) {
        QLOG_AS("write(toFile:_:)", "Removed " + removed + ", left by a run that was stopped");
    }
    // The list is the only record of the new names: without it, nothing may change.
    writeReport_.listWritten =
        writeLogged(nameList, rootPath() + "/MethodReplaceList.txt", "write(toFile:)");
    if (!writeReport_.listWritten) {
        return;
    }
    QLOG_AS("write(toFile:)", "MethodReplaceList.txt", nameList);
    const auto& files = allFiles();
    std::vector<FileModel::WriteResult> results(files.size());
    // Creating and renaming files is mostly the file system's work, which overlaps well.
    parallelFor(files.size(), kWriteThreads,
                [&](std::size_t i) { results[i] = files[i].writeBack(); });
    for (const auto& result : results) {
        switch (result.outcome) {
        case FileModel::WriteOutcome::written:
            ++writeReport_.written;
            break;
        case FileModel::WriteOutcome::unchanged:
            ++writeReport_.unchanged;
            break;
        case FileModel::WriteOutcome::failed:
            ++writeReport_.failed;
            log(QLOG_SITE("write(toFile:_:)"), result.error);
            break;
        case FileModel::WriteOutcome::notRead:
            break;
        }
    }
    writeReport_.synced = fs::syncFileSystemOf(rootPath());
}

} // namespace quillet
