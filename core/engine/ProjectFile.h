#pragma once

#include <optional>
#include <string>

#include "base/Result.h"
#include "fs/SourceReader.h"

namespace quillet {

// One file of the project as a run read it: where it is, whether it could be read, and what it
// takes to write new text back without disturbing the bytes around it. What the text is made of
// while a run rewrites it belongs to the mode that reads the file.
class ProjectFile {
public:
    virtual ~ProjectFile() = default;
    ProjectFile(ProjectFile&&) = default;
    ProjectFile& operator=(ProjectFile&&) = default;

    const std::string& inFile() const { return inFile_; }
    const std::string& inPath() const { return inPath_; }
    bool readable() const { return readable_; }
    const std::string& problem() const { return problem_; }
    bool isHeader() const { return inFile_.ends_with(".h"); }
    // Where writing puts the file: where it was read, unless it moves.
    const std::string& outPath() const { return outPath_.empty() ? inPath_ : outPath_; }
    bool moves() const { return !outPath_.empty(); }
    // Writes the file to `path` (a new file beside nothing); where it was read, it is removed
    // once the new one is durable (`removeOldName`).
    void moveTo(std::string path) { outPath_ = std::move(path); }

    // The text as it stands now, UTF-8 without a byte order mark.
    virtual std::string decodedText() const = 0;
    // Whether writing the file back could change its bytes.
    virtual bool mayChangeOnDisk() const = 0;
    // The bytes the file would be written back as.
    virtual std::string contents() const = 0;
    // The byte order of a file that is UTF-16 on disk.
    const std::optional<text::ByteOrder>& utf16() const { return utf16_; }

    enum class WriteOutcome { notRead, unchanged, written, failed };
    struct WriteResult {
        WriteOutcome outcome;
        std::string error; // why writing failed
    };
    // Writes the file back when it was read and its bytes would change, or it moves. Safe to
    // call for different files at once.
    WriteResult writeBack() const;
    // Removes a moved file where it was read, once its new file is durable.
    Status removeOldName() const;
    // The bytes the file would be written as, new or as read; nothing when they cannot be read.
    std::optional<std::string> bytesToWrite() const;

protected:
    explicit ProjectFile(std::string inFile) : inFile_(std::move(inFile)) {}

    // Records a read of `inPath`; returns its text when it could be read, and keeps what the
    // write-back needs of its encoding.
    std::optional<std::string> takeRead(std::string inPath, fs::SourceRead read);

    const std::string& bom() const { return bom_; }

private:
    std::string inFile_;
    std::string inPath_;
    std::string outPath_; // empty unless the file moves
    bool readable_ = false;
    std::string problem_;
    std::string bom_;
    std::size_t originalSize_ = 0;
    std::optional<text::ByteOrder> utf16_;
};

} // namespace quillet
