#include "precise/PreciseRename.h"

#include <sys/stat.h>

#include "precise/NameGuard.h"
#include "precise/ProjectIndex.h"
#include "precise/ResourceFileScanner.h"
#include "precise/SelectorRewrite.h"
#include "text/Text.h"

namespace quillet {

namespace {

bool isReadPath(std::string_view path) {
    return path.ends_with(".h") || path.ends_with(".mm") || path.ends_with(".m") ||
           isResourcePath(path);
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

PreciseRename::PreciseRename(ProtectionInputs inputs) : inputs_(std::move(inputs)) {}

PreciseRename::~PreciseRename() = default;

bool PreciseRename::reads(const std::string& subpath, bool /*ignored*/) const {
    return isReadPath(subpath);
}

void PreciseRename::load(const std::string& fullPath, bool ignored) {
    if (mayBeBinary(fullPath)) {
        // A compiled nib may be a folder; the files in it are listed, and read, on their own.
        if (!isFolder(fullPath)) {
            files_.push_back(SourceFile::readTextOrBinary(fullPath, ignored));
        }
    } else {
        files_.emplace_back(fullPath, fs::SourceReader::read(fullPath), ignored);
    }
    index_.reset();
}

const ProjectIndex& PreciseRename::index() {
    if (!index_) {
        index_ = std::make_unique<ProjectIndex>(files_);
    }
    return *index_;
}

Collection PreciseRename::collect(const std::vector<std::size_t>& ownHeaders) {
    Collection collection;
    collection.methods = index().declaredMethods(ownHeaders);
    std::vector<bool> ownHeader(files_.size(), false);
    for (const auto header : ownHeaders) {
        ownHeader[header] = true;
    }
    SelectorSet candidates;
    for (const auto& method : collection.methods) {
        candidates.insert(method.selector());
    }
    const ProtectionRules rules(files_, *index_, ownHeader, inputs_, candidates);
    for (const auto& selector : candidates) {
        if (auto reason = rules.reasonFor(selector)) {
            collection.protections.emplace(selector, std::move(*reason));
        }
    }
    SelectorSet taken = index_->selectorsInUse();
    taken.insert(inputs_.userList.begin(), inputs_.userList.end());
    guard_ = std::make_unique<NameGuard>(std::move(taken), inputs_.sdk);
    return collection;
}

bool PreciseRename::admit(const MethodModel& name) {
    return !guard_ || guard_->admit(name);
}

void PreciseRename::rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    SelectorRewrite(files_, index()).run(pairs, progress);
}

std::vector<UnparsedFile> PreciseRename::problems() const {
    std::vector<UnparsedFile> unparsed;
    for (std::size_t f = 0; index_ && f < files_.size(); ++f) {
        const auto& problems = index_->factsOf(f).problems;
        if (!problems.empty() && !files_[f].ignored()) {
            unparsed.push_back({files_[f].inPath(), text::join(problems, "; ")});
        }
    }
    return unparsed;
}

} // namespace quillet
