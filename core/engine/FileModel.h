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

// One loaded file. For the literal rewrite: its text cut at every ";" and the quoted headers it
// imports, written back as UTF-8. For the precise rewrite: its whole text, written back in the
// encoding it was read in, so that every byte not rewritten stays as it was.
class FileModel {
public:
    explicit FileModel(std::string inFile) : inFile_(std::move(inFile)) {}

    // Fills the model from a read of `inPath`: pieces and imports when the text was readable.
    void load(std::string inPath, const RenameTool& tool, fs::SourceRead read,
              ImportLineParser& imports);
    // Keeps the whole text of a read of `inPath`. An ignored file is read for what it declares
    // and uses, but never written.
    void loadWhole(std::string inPath, const RenameTool& tool, fs::SourceRead read, bool ignored);

    const std::string& inFile() const { return inFile_; }
    const std::string& inPath() const { return inPath_; }
    const std::vector<std::string>& datas() const { return datas_; }
    const std::vector<std::string>& importFile() const { return importFile_; }
    bool readable() const { return readable_; }
    bool ignored() const { return ignored_; }
    const std::string& problem() const { return problem_; }

    // The whole text of a file loaded with loadWhole, and its rewritten form.
    const std::string& text() const { return text_; }
    void setText(std::string text);
    // The text as it stands now, UTF-8 without a byte order mark.
    std::string decodedText() const;

    bool isHeader() const;
    bool isInterfaceFile() const; // a .xib or .storyboard
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
    // Whether writing the file back could change its bytes.
    bool mayChangeOnDisk() const;
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
    std::string text_;
    bool whole_ = false;
    bool ignored_ = false;
    std::string bom_;
    std::size_t originalSize_ = 0;
    std::optional<text::ByteOrder> utf16_;
    bool changed_ = false; // some piece, or the text, was rewritten
    mutable std::optional<HeaderSet> allHeaderFile_;
};

} // namespace quillet
