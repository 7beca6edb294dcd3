#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/DeclarationPredicate.h"
#include "engine/FileModel.h"
#include "engine/ImportGraph.h"
#include "engine/ImportLineParser.h"
#include "engine/RenameStrategy.h"

namespace quillet {

// The literal mode: the text rules, piece by piece. It reads the .h, .m and .mm files that are
// not ignored, collects declarations line by line with the declaration predicate, and rewrites a
// method's pieces in the files that import its header.
class LiteralRename final : public RenameStrategy {
public:
    // `protectedSelectors` are left out of what is collected, as the user asked.
    explicit LiteralRename(std::vector<std::string> protectedSelectors = {});
    LiteralRename(const LiteralRename&) = delete;
    LiteralRename& operator=(const LiteralRename&) = delete;

    bool reads(const std::string& rootPath, const std::string& subpath,
               bool ignored) const override;
    void load(const std::string& fullPath, bool ignored) override;
    std::size_t fileCount() const override { return allFiles_.size(); }
    const ProjectFile& file(std::size_t index) const override { return allFiles_[index]; }
    Collection collect(const std::vector<std::size_t>& ownHeaders) override;
    bool admit(const MethodModel&) override { return true; }
    void rewrite(const std::vector<RenamePair>& pairs, const PairProgress& progress) override;
    std::vector<UnparsedFile> problems() const override { return {}; }

    std::vector<FileModel>& allFiles() { return allFiles_; }
    const std::vector<FileModel>& allFiles() const { return allFiles_; }
    // The import graph of the loaded files, built on first use.
    const ImportGraph& importGraph() const;
    const DeclarationPredicate& predicate() const { return predicate_; }

private:
    // Marks the collected methods the user listed as protected, and logs each.
    void protectListed(Collection& collection) const;

    std::vector<std::string> protectedSelectors_;
    std::vector<FileModel> allFiles_;
    ImportLineParser importPredicate_;
    const DeclarationPredicate predicate_{};
    mutable std::unique_ptr<ImportGraph> importGraph_;
};

} // namespace quillet
