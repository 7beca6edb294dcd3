#include "backup/ZipArchive.h"

namespace quillet {

ZipArchive::ZipArchive(const std::string& path, int flags) {
    int code = 0;
    archive_ = zip_open(path.c_str(), flags, &code);
    if (archive_ == nullptr) {
        zip_error_t error;
        zip_error_init_with_code(&error, code);
        error_ = zip_error_strerror(&error);
        zip_error_fini(&error);
    }
}

ZipArchive::~ZipArchive() {
    if (archive_ != nullptr) {
        zip_discard(archive_);
    }
}

bool ZipArchive::close() {
    if (zip_close(archive_) != 0) {
        error_ = zip_error_strerror(zip_get_error(archive_));
        return false;
    }
    archive_ = nullptr;
    return true;
}

} // namespace quillet
