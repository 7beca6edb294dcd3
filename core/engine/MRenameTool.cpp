#include "engine/MRenameTool.h"

#include <algorithm>
#include <numeric>

#include <unistd.h>

#include "concurrency/ParallelFor.h"
#include "engine/ReplacementPass.h"
#include "engine/WriteBack.h"
#include "fs/DirectoryLister.h"
#include "log/Log.h"
#include "text/Text.h"

namespace quillet {

namespace {

constexpr unsigned kWriteThreads = 4;

bool isSourcePath(std::string_view path) {
    return path.ends_with(".h") || path.ends_with(".mm") || path.ends_with(".m");
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

bool MRenameTool::loadFiles(const std::vector<std::string>& ignoring) {
    const auto listing = fs::listRecursively(rootPath());
    if (!listing) {
        return false;
    }
    unlistedFolders_ = listing->unlistedFolders;
    for (const auto& subpath : listing->subpaths) {
        if (isIgnored(subpath, ignoring) || !isSourcePath(subpath)) {
            continue;
        }
        const std::string fullPath = rootPath() + "/" + subpath;
        loadFile(fullPath);
        if (fullPath.ends_with(".h") && hasImplementationBeside(fullPath)) {
            headerFiles_.push_back(fullPath);
            headerFileIndex_.push_back(allFiles().size() - 1);
        }
    }
    return !headerFiles_.empty();
}

void MRenameTool::collectMethods() {
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

const std::vector<MethodModel>& MRenameTool::allMethodNames() {
    if (allMethodNames_) {
        return *allMethodNames_;
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
    auto& methods = allMethodNames_.emplace();
    for (const auto i : order) {
        methods.push_back(collected_[i]);
    }
    return methods;
}

std::optional<std::vector<RenamePair>>
MRenameTool::makeNewNames(const std::vector<std::string>& words) {
    std::vector<RenamePair> pairs;
    for (const auto& method : allMethodNames()) {
        MethodModel renamed;
        for (std::size_t k = 0; k < method.elements.size(); ++k) {
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
        pairs.push_back(RenamePair{method, std::move(renamed)});
    }
    return pairs;
}

bool MRenameTool::replace(const std::vector<RenamePair>& factor) {
    writeOutputs(ReplacementPass(*this).run(factor));
    return true;
}

void MRenameTool::writeOutputs(const std::string& nameList) {
    writeReport_ = {};
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
    writeReport_.listWritten =
        writeLogged(nameList, rootPath() + "/MethodReplaceList.txt", "write(toFile:)");
}

} // namespace quillet
