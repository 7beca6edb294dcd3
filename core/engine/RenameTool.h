#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/DeclarationPredicate.h"
#include "engine/FileModel.h"
#include "engine/ImportGraph.h"
#include "engine/ImportLineParser.h"

namespace quillet {

// What every engine holds: the project folder, the loaded files, and the two patterns the
// stages share.
class RenameTool {
public:
    RenameTool() = default;
    virtual ~RenameTool() = default;
    RenameTool(const RenameTool&) = delete;
    RenameTool& operator=(const RenameTool&) = delete;

    const std::string& rootPath() const { return rootPath_; }
    void setRootPath(std::string path) { rootPath_ = std::move(path); }

    std::vector<FileModel>& allFiles() { return allFiles_; }
    const std::vector<FileModel>& allFiles() const { return allFiles_; }

    // The import graph of the loaded files, built on first use.
    const ImportGraph& importGraph() const;
    const DeclarationPredicate& predicate() const { return predicate_; }

protected:
    // Reads one file and appends it to allFiles: cut into pieces, or whole (see FileModel).
    void loadFile(const std::string& fullPath);
    void loadWholeFile(const std::string& fullPath, bool ignored);

private:
    std::string rootPath_;
    std::vector<FileModel> allFiles_;
    mutable std::unique_ptr<ImportLineParser> importPredicate_;
    const DeclarationPredicate predicate_{};
    mutable std::unique_ptr<ImportGraph> importGraph_;
};

} // namespace quillet
