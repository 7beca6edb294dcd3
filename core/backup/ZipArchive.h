#pragma once

#include <string>

#include <zip.h>

namespace quillet {

// An open zip archive that is discarded when it goes, unless it was closed (written) first.
class ZipArchive {
public:
    // `flags` as zip_open takes them: ZIP_RDONLY to read, ZIP_CREATE | ZIP_TRUNCATE to write.
    ZipArchive(const std::string& path, int flags);
    ~ZipArchive();
    ZipArchive(const ZipArchive&) = delete;
    ZipArchive& operator=(const ZipArchive&) = delete;

    bool opened() const { return archive_ != nullptr; }
    zip_t* get() const { return archive_; }
    // Why opening or closing failed.
    const std::string& error() const { return error_; }

    // Writes the archive (libzip writes a temporary file beside it and renames it into place).
    bool close();

private:
    zip_t* archive_ = nullptr;
    std::string error_;
};

} // namespace quillet
