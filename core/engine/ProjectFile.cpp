#include "engine/ProjectFile.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

#include "fs/AtomicFile.h"

namespace quillet {

std::optional<std::string> ProjectFile::takeRead(std::string inPath, fs::SourceRead read) {
    inPath_ = std::move(inPath);
    readable_ = read.ok();
    if (!readable_) {
        problem_ = read.error().message;
        return std::nullopt;
    }
    bom_ = std::move(read->bom);
    originalSize_ = read->originalSize;
    utf16_ = read->utf16;
    return std::move(read->text);
}

std::optional<std::string> ProjectFile::bytesToWrite() const {
    if (mayChangeOnDisk()) {
        return contents();
    }
    auto bytes = fs::SourceReader::readBytes(inPath_);
    return bytes ? std::optional<std::string>(std::move(*bytes)) : std::nullopt;
}

ProjectFile::WriteResult ProjectFile::writeBack() const {
    if (!readable_) {
        return {WriteOutcome::notRead, {}};
    }
    if (moves()) {
        const auto bytes = bytesToWrite();
        if (!bytes) {
            return {WriteOutcome::failed, "Could not read " + inPath_ + " again to move it"};
        }
        if (auto moved = fs::writeNewFile(inPath_, outPath_, *bytes); !moved) {
            return {WriteOutcome::failed, moved.error().message};
        }
        return {WriteOutcome::written, {}};
    }
    if (!mayChangeOnDisk()) {
        return {WriteOutcome::unchanged, {}}; // the text is the bytes read
    }
    const std::string bytes = contents();
    // Renames can cancel out; only then can the size be the same and the bytes too.
    if (bytes.size() == originalSize_ && fs::SourceReader::holds(inPath_, bytes)) {
        return {WriteOutcome::unchanged, {}};
    }
    if (auto written = fs::writeFileAtomically(inPath_, bytes); !written) {
        return {WriteOutcome::failed, written.error().message};
    }
    return {WriteOutcome::written, {}};
}

Status ProjectFile::removeOldName() const {
    if (::unlink(inPath_.c_str()) != 0) {
        return Error{"Could not remove " + inPath_ + " after writing it as " + outPath_ + ": " +
                     std::strerror(errno)};
    }
    return Status::success();
}

} // namespace quillet
