#include "engine/LiteralRename.h"

#include "engine/DeclarationParser.h"
#include "engine/ReplacementPass.h"
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

bool LiteralRename::reads(const std::string& subpath, bool ignored) const {
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
    return collection;
}

void LiteralRename::rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) {
    ReplacementPass(*this).run(pairs, progress);
}

} // namespace quillet
