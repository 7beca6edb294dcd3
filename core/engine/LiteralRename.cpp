#include "engine/LiteralRename.h"

#include <algorithm>

#include "engine/DeclarationParser.h"
#include "engine/ReplacementPass.h"
#include "log/Log.h"
#include "text/Text.h"

namespace quillet {

namespace {

bool isSourcePath(std::string_view path) {
    return path.ends_with(".h") || path.ends_with(".mm") || path.ends_with(".m");
}

std::string fileNameOf(const std::string& fullPath) {
    const auto slash = fullPath.rfind('/');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

} // namespace

LiteralRename::LiteralRename(std::vector<std::string> protectedSelectors)
    : protectedSelectors_(std::move(protectedSelectors)) {
    std::sort(protectedSelectors_.begin(), protectedSelectors_.end());
}

bool LiteralRename::reads(const std::string& /*rootPath*/, const std::string& subpath,
                          bool ignored) const {
    return !ignored && isSourcePath(subpath);
}

void LiteralRename::load(const std::string& fullPath, bool /*ignored*/) {
    FileModel file(fileNameOf(fullPath));
    file.load(fullPath, *this, fs::SourceReader::read(fullPath), importPredicate_);
    allFiles_.push_back(std::move(file));
    importGraph_.reset();
}

const ImportGraph& LiteralRename::importGraph() const {
    if (!importGraph_) {
        importGraph_ = std::make_unique<ImportGraph>(allFiles_);
    }
    return *importGraph_;
}

Collection LiteralRename::collect(const std::vector<std::size_t>& ownHeaders) {
    Collection collection;
    for (const auto index : ownHeaders) {
        const FileModel& header = allFiles_[index];
        if (!header.readable()) {
            continue;
        }
        const std::string text = text::join(header.datas(), ";");
        std::string declaration;
        for (const auto line : text::splitViews(text, '\n')) {
            if (predicate_.matches(line)) {
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
                if (auto method = methodOfDeclaration(declaration, header.inFile())) {
                    collection.methods.push_back(std::move(*method));
                }
                declaration.clear();
            }
        }
    }
    protectListed(collection);
    return collection;
}

void LiteralRename::protectListed(Collection& collection) const {
    for (const auto& method : collection.methods) {
        const std::string selector = method.selector();
        if (collection.protections.contains(selector) ||
            !std::binary_search(protectedSelectors_.begin(), protectedSelectors_.end(), selector)) {
            continue;
        }
        QLOG("not renamed, in the list of protected selectors: " + selector);
        collection.protections.emplace(selector,
                                       ProtectionReason{ProtectionReason::Kind::userList, {}});
    }
}

void LiteralRename::rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    ReplacementPass(*this).run(pairs, progress);
}

} // namespace quillet
