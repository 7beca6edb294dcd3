#include "engine/ProjectFile.h"

#include "fs/AtomicFile.h"

namespace quillet {

std::optional<std::string> ProjectFile::takeRead(std::string inPath, fs::SourceRead read) {
    inPath_ = std::move(inPath);
    readable_ = read.readable;
    problem_ = std::move(read.problem);
    if (!readable_) {
        return std::nullopt;
    }
    bom_ = std::move(read.source.bom);
    originalSize_ = read.source.originalSize;
    utf16_ = read.source.utf16;
    return std::move(read.source.text);
}

ProjectFile::WriteResult ProjectFile::writeBack() const {
    if (!readable_) {
        return {WriteOutcome::notRead, {}};
    }
    if (!mayChangeOnDisk()) {
        return {WriteOutcome::unchanged, {}}; // the text is the bytes read
    }
    const std::string bytes = contents();
    // Renames can cancel out; only then can the size be the same and the bytes too.
    if (bytes.size() == originalSize_ && fs::SourceReader::holds(inPath_, bytes)) {
        return {WriteOutcome::unchanged, {}};
    }
    if (auto error = fs::writeFileAtomically(inPath_, bytes)) {
        return {WriteOutcome::failed, std::move(*error)};
    }
    return {WriteOutcome::written, {}};
}

} // namespace quillet
