#include "precise/PreciseRename.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

#include <sys/stat.h>

#include "log/Log.h"
#include "precise/ClassFileRenames.h"
#include "precise/HeaderOwnership.h"
#include "precise/NameGuard.h"
#include "precise/OwnPropertyNames.h"
#include "precise/OwnTypeNames.h"
#include "precise/ProjectIndex.h"
#include "precise/PropertyNameRewrite.h"
#include "precise/ReservedWords.h"
#include "precise/ResourceFileScanner.h"
#include "precise/RuntimeSelectors.h"
#include "precise/SelectorRewrite.h"
#include "precise/TypeNameRewrite.h"
#include "precise/UnaryNameScan.h"
#include "precise/XcodeProjectFile.h"
#include "text/Text.h"

namespace quillet {

namespace {

bool isReadPath(std::string_view path) {
    return sourceKindOf(path) != SourceKind::other;
}

// A Core Data model's contents, where each entity names its class.
bool isModelContents(std::string_view path) {
    return path.ends_with(".xcdatamodel/contents");
}

// Below a folder CocoaPods or Carthage fills, at any depth.
bool isInPackageManagerFolder(std::string_view subpath) {
    for (auto slash = subpath.find('/'); slash != std::string_view::npos;
         subpath.remove_prefix(slash + 1), slash = subpath.find('/')) {
        const auto folder = subpath.substr(0, slash);
        if (folder == "Pods" || folder == "Carthage") {
            return true;
        }
    }
    return false;
}

bool isFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string realPathOf(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : std::string();
}

// A link to another file of the project: that file is read as itself, so the link is nothing
// to read, nor to report. A link that leaves the project, or leads nowhere, is read (and found
// unreadable) so that the run says so.
bool linksWithinProject(const std::string& rootPath, const std::string& fullPath) {
    struct stat info {};
    if (::lstat(fullPath.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) {
        return false;
    }
    const std::string root = realPathOf(rootPath);
    const std::string target = realPathOf(fullPath);
    return !root.empty() && !target.empty() && target.starts_with(root + "/");
}

} // namespace

PreciseRename::PreciseRename(ProtectionInputs inputs, NameKinds kinds)
    : inputs_(std::move(inputs)), kinds_(kinds) {}

PreciseRename::~PreciseRename() = default;

bool PreciseRename::reads(const std::string& rootPath, const std::string& subpath,
                          bool /*ignored*/) const {
    // A compiled nib may be a folder: the files in it are listed, and read, on their own.
    const std::string fullPath = rootPath + "/" + subpath;
    if (isModelContents(subpath)) {
        return (kinds_.has(NameKind::classes) || kinds_.has(NameKind::properties)) &&
               !linksWithinProject(rootPath, fullPath);
    }
    // A class's files move with it: the Xcode project lists them.
    if (isXcodeProjectPath(subpath)) {
        return kinds_.has(NameKind::classes) && !linksWithinProject(rootPath, fullPath);
    }
    return isReadPath(subpath) && !isFolder(fullPath) && !linksWithinProject(rootPath, fullPath);
}

bool PreciseRename::leavesAlone(const std::string& subpath) const {
    return !inputs_.rewriteVendored && isInPackageManagerFolder(subpath);
}

void PreciseRename::load(const std::string& fullPath, bool ignored) {
    if (mayBeBinary(fullPath)) {
        files_.push_back(SourceFile::readTextOrBinary(fullPath, ignored));
    } else if (const auto kind = sourceKindOf(fullPath);
               kind == SourceKind::header || kind == SourceKind::implementation) {
        files_.push_back(SourceFile::readSource(fullPath, ignored));
    } else {
        files_.emplace_back(fullPath, fs::SourceReader::read(fullPath), ignored);
    }
    index_.reset();
}

const ProjectIndex& PreciseRename::index() {
    if (!index_) {
        // A property's getter is argument-less: its uses are read when properties are renamed.
        const bool unary = kinds_.has(NameKind::unary) || kinds_.has(NameKind::properties);
        index_ = std::make_unique<ProjectIndex>(files_, unary ? objc::UnaryNames::recorded
                                                              : objc::UnaryNames::skipped);
    }
    return *index_;
}

std::vector<std::size_t>
PreciseRename::ownHeaders(const std::vector<std::size_t>& besideImplementation) {
    return ownHeadersOf(files_, index(), besideImplementation);
}

std::size_t PreciseRename::swiftFilesRead() const {
    return static_cast<std::size_t>(std::count_if(files_.begin(), files_.end(), [](const auto& f) {
        return f.readable() && f.kind() == SourceKind::swift;
    }));
}

Collection PreciseRename::collect(const std::vector<std::size_t>& ownHeaders) {
    for (const auto& note : readingNotes()) {
        log(QLOG_SITE("collect"), note);
    }
    Collection collection;
    collection.methods = index().declaredMethods(ownHeaders);
    if (!kinds_.has(NameKind::unary)) {
        std::erase_if(collection.methods,
                      [](const MethodModel& method) { return !method.selector().ends_with(':'); });
    }
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
    keepUnaryNamesWrittenElsewhere(candidates, collection.protections);
    keepNamesBesideUnreadableSources(ownHeaders, collection.protections);
    SelectorSet taken = index_->selectorsInUse();
    taken.insert(inputs_.userList.begin(), inputs_.userList.end());
    guard_ = std::make_unique<NameGuard>(std::move(taken), inputs_.sdk);
    collectTypeNames();
    return collection;
}

void PreciseRename::collectTypeNames() {
    const OwnTypeNames::Asked asked{kinds_.has(NameKind::classes), kinds_.has(NameKind::protocols)};
    const bool properties = kinds_.has(NameKind::properties);
    if (!asked.classes && !asked.protocols && !properties) {
        return;
    }
    const OwnTypeNames types(files_, index(), asked, inputs_.userList);
    typeNames_ = types.names();
    namesTaken_ = types.identifiers();
    if (properties) {
        const OwnPropertyNames own(files_, index(), inputs_.userList, inputs_.sdk.get());
        typeNames_.insert(typeNames_.end(), own.names().begin(), own.names().end());
        for (const auto& candidate : own.candidates()) {
            propertyCandidates_.emplace(candidate.name, candidate);
        }
    }
    for (const auto& type : typeNames_) {
        namesTaken_.insert(type.name);
    }
}

bool PreciseRename::admitTypeName(TypeName::Kind kind, const std::string& name) {
    const auto known = [&](const std::string& word) {
        return namesTaken_.contains(word) || (inputs_.sdk && inputs_.sdk->contains(word));
    };
    if (isReservedWord(name) || known(name)) {
        return false;
    }
    if (kind == TypeName::Kind::property) {
        const std::string setter = setterKeyword(name);
        if (startsMemoryFamily(name) || known("_" + name) || known(setter) || known(setter + ":")) {
            return false;
        }
        namesTaken_.insert("_" + name);
        namesTaken_.insert(setter);
    }
    namesTaken_.insert(name);
    return true;
}

void PreciseRename::rewriteTypeNames(const std::vector<TypeRename>& renames,
                                     const std::string& rootPath,
                                     const std::vector<std::string>& listedPaths) {
    std::vector<TypeRename> types;
    std::vector<TypeRename> properties;
    std::vector<PropertyNameScan::Candidate> candidates;
    for (const auto& rename : renames) {
        if (rename.kind != TypeName::Kind::property) {
            types.push_back(rename);
        } else if (const auto it = propertyCandidates_.find(rename.from);
                   it != propertyCandidates_.end()) {
            properties.push_back(rename);
            candidates.push_back(it->second);
        }
    }
    quillet::rewriteTypeNames(files_, index(), types);
    rewritePropertyNames(files_, index(), candidates, properties);
    if (kinds_.has(NameKind::classes)) {
        ClassFileRenames(files_, index(), rootPath, listedPaths).run(types);
    }
}

void PreciseRename::keepNamesBesideUnreadableSources(
    const std::vector<std::size_t>& ownHeaders, text::StringMap<ProtectionReason>& protections) {
    const auto& unreadable = inputs_.unreadableSources;
    for (const auto header : ownHeaders) {
        const std::string& path = files_[header].inPath();
        const std::string stem = path.substr(0, path.rfind('.'));
        for (const char* extension : {".m", ".mm"}) {
            const std::string source = stem + extension;
            if (std::find(unreadable.begin(), unreadable.end(), source) == unreadable.end()) {
                continue;
            }
            for (const auto& method : index().declaredMethods({header})) {
                // The truer reason: whatever else was concluded went without this source.
                protections.insert_or_assign(
                    method.selector(),
                    ProtectionReason{ProtectionReason::Kind::unreadableSource, source});
            }
        }
    }
}

void PreciseRename::keepUnaryNamesWrittenElsewhere(const SelectorSet& candidates,
                                                   text::StringMap<ProtectionReason>& protections) {
    SelectorSet unary;
    for (const auto& selector : candidates) {
        if (!selector.ends_with(':') && !protections.contains(selector)) {
            unary.insert(selector);
        }
    }
    const UnaryNameScan scan(files_, index(), unary);
    for (const auto& [name, reason] : scan.reasons()) {
        protections.emplace(name, reason);
    }
}

bool PreciseRename::admit(const MethodModel& name) {
    return !guard_ || guard_->admit(name);
}

void PreciseRename::rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    SelectorRewrite(files_, index()).run(pairs, progress);
}

std::vector<std::string> PreciseRename::readingNotes() const {
    if (const auto swiftFiles = swiftFilesRead(); swiftFiles > 0) {
        return {"Swift files read for the selectors they use (never rewritten): " +
                std::to_string(swiftFiles)};
    }
    return {};
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
