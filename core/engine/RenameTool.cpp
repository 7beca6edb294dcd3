#include "engine/RenameTool.h"

namespace quillet {

const ImportGraph& RenameTool::importGraph() const {
    if (!importGraph_) {
        importGraph_ = std::make_unique<ImportGraph>(allFiles_);
    }
    return *importGraph_;
}

DeclarationPredicate& RenameTool::predicate() const {
    if (!predicate_) {
        predicate_ = std::make_unique<DeclarationPredicate>();
    }
    return *predicate_;
}

void RenameTool::loadFile(const std::string& fullPath) {
    if (!importPredicate_) {
        importPredicate_ = std::make_unique<ImportLineParser>();
    }
    const auto slash = fullPath.rfind('/');
    FileModel file(slash == std::string::npos ? fullPath : fullPath.substr(slash + 1));
    file.load(fullPath, *this, fs::SourceReader::read(fullPath), *importPredicate_);
    allFiles_.push_back(std::move(file));
    importGraph_.reset();
}

} // namespace quillet
