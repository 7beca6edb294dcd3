#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BitSet.h"
#include "engine/MethodModel.h"
#include "engine/ProjectFile.h"

namespace quillet {

class ImportLineParser;
class LiteralRename;
class PieceRewriter;

// The header names a file can see; only membership matters.
class HeaderSet {
public:
    HeaderSet(const LiteralRename& tool, BitSet names) : tool_(&tool), names_(std::move(names)) {}
    bool contains(std::string_view name) const;
    std::vector<std::string> names() const; // sorted, for reports and tests

private:
    const LiteralRename* tool_;
    BitSet names_;
};

// One file as the literal rewrite holds it: its text cut at every ";" and the quoted headers it
// imports, written back as UTF-8.
class FileModel : public ProjectFile {
public:
    explicit FileModel(std::string inFile) : ProjectFile(std::move(inFile)) {}

    // Fills the model from a read of `inPath`: pieces and imports when the text was readable.
    void load(std::string inPath, const LiteralRename& tool, fs::SourceRead read,
              ImportLineParser& imports);

    const std::vector<std::string>& datas() const { return datas_; }
    const std::vector<std::string>& importFile() const { return importFile_; }

    // Headers are cut at "/" so comments fall away from declarations; implementation files at
    // "{" so a signature falls away from its body.
    char separator() const { return isHeader() ? '/' : '{'; }

    const HeaderSet& allHeaderFile() const;
    bool sees(const MethodModel& method) const;

    // Rewrites every piece of this file for one rename, when the method is visible here.
    void rewrite(const MethodModel& old, const MethodModel& new_);
    // Rewrites one piece; returns whether it changed.
    bool rewritePiece(std::size_t index, PieceRewriter& rewriter);

    std::string decodedText() const override;
    // Pieces of a UTF-16 file are written back as UTF-8 even when no piece changed.
    bool mayChangeOnDisk() const override;
    std::string contents() const override;

private:
    std::vector<std::string> datas_;
    std::vector<std::string> importFile_;
    const LiteralRename* tool_ = nullptr;
    bool changed_ = false; // some piece was rewritten
    mutable std::optional<HeaderSet> allHeaderFile_;
};

} // namespace quillet
