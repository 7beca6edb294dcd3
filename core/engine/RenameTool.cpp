#include "engine/RenameTool.h"

namespace quillet {

namespace {

std::string fileNameOf(const std::string& fullPath) {
    const auto slash = fullPath.rfind('/');
    return slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
}

} // namespace

const ImportGraph& RenameTool::importGraph() const {
    if (!importGraph_) {
        importGraph_ = std::make_unique<ImportGraph>(allFiles_);
    }
    return *importGraph_;
}

void RenameTool::loadFile(const std::string& fullPath) {
    if (!importPredicate_) {
        importPredicate_ = std::make_unique<ImportLineParser>();
    }
    FileModel file(fileNameOf(fullPath));
    file.load(fullPath, *this, fs::SourceReader::read(fullPath), *importPredicate_);
    allFiles_.push_back(std::move(file));
    importGraph_.reset();
}

void RenameTool::loadWholeFile(const std::string& fullPath, bool ignored) {
    FileModel file(fileNameOf(fullPath));
    file.loadWhole(fullPath, *this, fs::SourceReader::read(fullPath), ignored);
    allFiles_.push_back(std::move(file));
    importGraph_.reset();
}

} // namespace quillet
