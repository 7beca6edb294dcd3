#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/BitSet.h"
#include "engine/MethodModel.h"
#include "fs/SourceReader.h"

namespace quillet {

class ImportLineParser;
class PieceRewriter;
class RenameTool;

// The header names a file can see; only membership matters.
class HeaderSet {
public:
    HeaderSet(const RenameTool& tool, BitSet names) : tool_(&tool), names_(std::move(names)) {}
    bool contains(std::string_view name) const;
    std::vector<std::string> names() const; // sorted, for reports and tests

private:
    const RenameTool* tool_;
    BitSet names_;
};

// One loaded source file: its text cut at every ";" and the quoted headers it imports.
class FileModel {
public:
    explicit FileModel(std::string inFile) : inFile_(std::move(inFile)) {}

    // Fills the model from a read of `inPath`: pieces and imports when the text was readable.
    void load(std::string inPath, const RenameTool& tool, fs::SourceRead read,
              ImportLineParser& imports);

    const std::string& inFile() const { return inFile_; }
    const std::string& inPath() const { return inPath_; }
    const std::vector<std::string>& datas() const { return datas_; }
    const std::vector<std::string>& importFile() const { return importFile_; }
    bool readable() const { return readable_; }
    const std::string& problem() const { return problem_; }

    bool isHeader() const;
    // Headers are cut at "/" so comments fall away from declarations; implementation files at
    // "{" so a signature falls away from its body.
    char separator() const { return isHeader() ? '/' : '{'; }

    const HeaderSet& allHeaderFile() const;
    bool sees(const MethodModel& method) const;

    // Rewrites every piece of this file for one rename, when the method is visible here.
    void rewrite(const MethodModel& old, const MethodModel& new_);
    // Rewrites one piece; returns whether it changed.
    bool rewritePiece(std::size_t index, PieceRewriter& rewriter);

    // The bytes this file would be written back as.
    std::string contents() const;
    enum class WriteOutcome { notRead, unchanged, written, failed };
    struct WriteResult {
        WriteOutcome outcome;
        std::string error; // why writing failed
    };
    // Writes the file back when it was read and its bytes would change. Safe to call for
    // different files at once.
    WriteResult writeBack() const;

private:
    std::string inFile_;
    std::string inPath_;
    std::vector<std::string> datas_;
    std::vector<std::string> importFile_;
    const RenameTool* tool_ = nullptr;
    bool readable_ = false;
    std::string problem_;
    std::string bom_;
    std::size_t originalSize_ = 0;
    bool reencoded_ = false;
    bool changed_ = false; // some piece was rewritten
    mutable std::optional<HeaderSet> allHeaderFile_;
};

} // namespace quillet
