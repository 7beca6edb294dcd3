#include "backup/FolderBackup.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <set>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include "backup/ZipArchive.h"
#include "fs/StaleTemporaries.h"
#include "log/Log.h"
#include "text/Text.h"
#include "text/TimeText.h"
#include "text/Utf.h"

namespace quillet {

namespace {

namespace stdfs = std::filesystem;

// zlib's usual level, as the zip command uses; libzip would pick the slowest one.
constexpr zip_uint32_t kDeflateLevel = 6;

// Formats that are compressed already: deflating them again costs most of a backup's time and
// saves next to nothing, so they are stored as they are (the zip command skips some likewise).
bool isCompressedFormat(const std::string& name) {
    static const std::set<std::string> extensions = {
        "png", "jpg", "jpeg", "gif", "heic", "webp", "zip", "gz",  "tgz", "bz2", "xz",   "7z",
        "rar", "mp3", "mp4",  "m4a", "m4v",  "mov",  "aac", "ipa", "jar", "apk", "woff2"};
    const auto dot = name.rfind('.');
    if (dot == std::string::npos || name.find('/', dot) != std::string::npos) {
        return false;
    }
    std::string extension = name.substr(dot + 1);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extensions.contains(extension);
}

std::optional<std::string> lastNamedComponent(const std::string& path) {
    std::string last;
    for (const auto& piece : text::split(path, '/')) {
        if (!piece.empty()) {
            last = piece;
        }
    }
    if (last.empty()) {
        return std::nullopt;
    }
    return last;
}

struct Entry {
    std::string path;    // on disk
    std::string name;    // in the archive
    struct stat info {}; // from lstat
};

BackupFailure unreadableSource(const std::string& path, const std::string& why) {
    return {"Could not read " + path + ": " + why, path};
}

// Whether the file can be opened for reading: the archive reads it only when it is written, and
// then could not say which file failed.
std::optional<BackupFailure> checkReadable(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return unreadableSource(path, std::strerror(errno));
    }
    ::close(fd);
    return std::nullopt;
}

// Adds every entry below `folder` to `entries`, depth first, each folder's entries by name in
// byte order and a folder before its contents. Links are listed, never entered.
std::optional<BackupFailure> listTree(const std::string& folder, const std::string& name,
                                      std::vector<Entry>& entries) {
    std::vector<std::string> children;
    std::error_code code;
    for (stdfs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        children.push_back(it->path().filename().string());
    }
    if (code) {
        return unreadableSource(folder + "/", code.message());
    }
    std::sort(children.begin(), children.end());
    for (const auto& child : children) {
        Entry entry{folder + "/" + child, name + "/" + child, {}};
        if (::lstat(entry.path.c_str(), &entry.info) != 0) {
            return unreadableSource(entry.path, std::strerror(errno));
        }
        if (S_ISREG(entry.info.st_mode)) {
            if (auto unreadable = checkReadable(entry.path)) {
                return unreadable;
            }
        }
        entries.push_back(entry);
        if (S_ISDIR(entry.info.st_mode)) {
            if (auto unlisted = listTree(entry.path, entry.name, entries)) {
                return unlisted;
            }
        }
    }
    return std::nullopt;
}

// UTF-8 names are marked as such; any other name is stored as its bytes are.
zip_flags_t encodingOf(const std::string& name) {
    return text::isValidUtf8(name) ? ZIP_FL_ENC_UTF_8 : ZIP_FL_ENC_RAW;
}

// The bytes of the regular files among the entries: what the archive reads.
std::uint64_t bytesOf(const std::vector<Entry>& entries) {
    std::uint64_t bytes = 0;
    for (const auto& entry : entries) {
        if (S_ISREG(entry.info.st_mode)) {
            bytes += static_cast<std::uint64_t>(std::max<off_t>(entry.info.st_size, 0));
        }
    }
    return bytes;
}

// Builds one archive; it is discarded unless close() succeeds.
class ArchiveWriter {
public:
    ArchiveWriter(const std::string& path, std::uint64_t bytes, const BackupProgress& progress)
        : zip_(path, ZIP_CREATE | ZIP_TRUNCATE), archive_(zip_.get()), error_(zip_.error()),
          bytes_(bytes), progress_(progress) {
        if (archive_ != nullptr && progress_) {
            progress_(0, bytes_);
            // The archive is written when it is closed, and says how far it got as a fraction.
            zip_register_progress_callback_with_state(archive_, kProgressStep, &reportProgress,
                                                      nullptr, this);
        }
    }

    bool opened() const { return zip_.opened(); }
    const std::string& error() const { return error_; }

    bool add(const Entry& entry) {
        const mode_t type = entry.info.st_mode & S_IFMT;
        zip_int64_t index = -1;
        if (type == S_IFDIR) {
            index = zip_dir_add(archive_, entry.name.c_str(), encodingOf(entry.name));
        } else if (type == S_IFREG) {
            index = addSource(entry.name, zip_source_file(archive_, entry.path.c_str(), 0, -1));
            const bool store = isCompressedFormat(entry.name);
            if (index >= 0 && zip_set_file_compression(archive_, static_cast<zip_uint64_t>(index),
                                                       store ? ZIP_CM_STORE : ZIP_CM_DEFLATE,
                                                       store ? 0 : kDeflateLevel) != 0) {
                return fail(entry.path);
            }
        } else if (type == S_IFLNK) {
            index = addLink(entry);
        } else {
            return true; // sockets, fifos and devices hold no code
        }
        if (index < 0) {
            return fail(entry.path);
        }
        const auto attributes = static_cast<zip_uint32_t>(entry.info.st_mode) << 16;
        if (zip_file_set_external_attributes(archive_, static_cast<zip_uint64_t>(index), 0,
                                             ZIP_OPSYS_UNIX, attributes) != 0) {
            return fail(entry.path);
        }
        return true;
    }

    bool setComment(const std::string& comment) {
        if (zip_set_archive_comment(archive_, comment.data(),
                                    static_cast<zip_uint16_t>(comment.size())) != 0) {
            error_ = zip_error_strerror(zip_get_error(archive_));
            return false;
        }
        return true;
    }

    bool close() {
        if (!zip_.close()) {
            error_ = zip_.error();
            return false;
        }
        if (progress_) {
            progress_(bytes_, bytes_);
        }
        return true;
    }

private:
    static constexpr double kProgressStep = 0.01;

    static void reportProgress(zip_t* /*archive*/, double fraction, void* writer) {
        const auto& self = *static_cast<const ArchiveWriter*>(writer);
        const auto done = static_cast<std::uint64_t>(fraction * static_cast<double>(self.bytes_));
        if (done < self.bytes_) {
            self.progress_(done, self.bytes_);
        }
    }

    zip_int64_t addSource(const std::string& name, zip_source_t* source) {
        if (source == nullptr) {
            return -1;
        }
        const auto index = zip_file_add(archive_, name.c_str(), source, encodingOf(name));
        if (index < 0) {
            zip_source_free(source);
        }
        return index;
    }

    zip_int64_t addLink(const Entry& entry) {
        std::string target(static_cast<std::size_t>(std::max<off_t>(entry.info.st_size, 0)) + 1,
                           '\0');
        const ssize_t length = ::readlink(entry.path.c_str(), target.data(), target.size());
        if (length < 0 || static_cast<std::size_t>(length) >= target.size()) {
            return -1; // changed while being read
        }
        target.resize(static_cast<std::size_t>(length));
        // The buffer must live until the archive is written.
        const std::string& kept = linkTargets_.emplace_back(std::move(target));
        const auto index =
            addSource(entry.name, zip_source_buffer(archive_, kept.data(), kept.size(), 0));
        if (index >= 0) {
            zip_set_file_compression(archive_, static_cast<zip_uint64_t>(index), ZIP_CM_STORE, 0);
        }
        return index;
    }

    bool fail(const std::string& path) {
        error_ = path + ": " + zip_error_strerror(zip_get_error(archive_));
        return false;
    }

    ZipArchive zip_;
    zip_t* archive_;
    std::string error_;
    std::deque<std::string> linkTargets_;
    std::uint64_t bytes_;
    const BackupProgress& progress_;
};

BackupFailure failed(BackupFailure failure) {
    QLOG_AS("backupFolder()", "Backup failed", failure.message);
    return failure;
}

BackupFailure failed(std::string why) {
    return failed(BackupFailure{std::move(why), {}});
}

// The entries directly in a folder, by name.
std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code code;
    for (stdfs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        names.push_back(it->path().filename().string());
    }
    return names;
}

// Gives the complete archive at `temporary` the first free name of `wanted`, "_2", "_3"... and
// never replaces a file: a hard link fails when the name is taken. Where the file system has no
// hard links, a rename after a look that the name is free.
Result<std::string> publish(const std::string& temporary, const std::string& wanted) {
    const std::string stem = wanted.substr(0, wanted.size() - 4); // without ".zip"
    for (int number = 1; number < 10000; ++number) {
        const std::string candidate =
            number == 1 ? wanted : stem + "_" + std::to_string(number) + ".zip";
        if (::link(temporary.c_str(), candidate.c_str()) == 0) {
            ::unlink(temporary.c_str());
            return candidate;
        }
        if (errno == EEXIST) {
            continue;
        }
        struct stat taken {};
        if (::lstat(candidate.c_str(), &taken) == 0) {
            continue;
        }
        if (::rename(temporary.c_str(), candidate.c_str()) == 0) {
            return candidate;
        }
        return Error{candidate + ": " + std::strerror(errno)};
    }
    return Error{wanted + ": every numbered name is taken"};
}

std::string absolute(const std::string& path) {
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

} // namespace

std::optional<std::string> backupArchivePath(const std::string& folderPath,
                                             const std::string& backupDirectory,
                                             std::chrono::system_clock::time_point now) {
    const auto name = lastNamedComponent(folderPath);
    if (!name) {
        return std::nullopt;
    }
    return backupDirectory + "/" + *name + "_" + text::fileNameTime(now) + ".zip";
}

Result<std::string, BackupFailure> backupFolder(const std::string& folderPath,
                                                const std::string& backupDirectory,
                                                std::chrono::system_clock::time_point now,
                                                const BackupProgress& progress) {
    const auto archivePath = backupArchivePath(folderPath, backupDirectory, now);
    if (!archivePath) {
        return failed("The folder has no name to call the archive by: " + folderPath);
    }
    struct stat folder {};
    if (::stat(folderPath.c_str(), &folder) != 0 || !S_ISDIR(folder.st_mode)) {
        return failed("Not a folder: " + folderPath);
    }
    if (!backupDirectory.starts_with('/')) {
        // It would land below whatever folder the program happens to run in.
        return failed("The backup directory must be a full path: " + backupDirectory);
    }
    std::error_code code;
    stdfs::create_directories(backupDirectory, code);
    if (code || !stdfs::is_directory(backupDirectory, code)) {
        return failed("Could not create " + backupDirectory +
                      (code ? ": " + code.message() : std::string()));
    }

    const std::string rootName = *lastNamedComponent(folderPath);
    std::vector<Entry> entries{{folderPath, rootName, folder}};
    if (auto unreadable = listTree(folderPath, rootName, entries)) {
        return failed(std::move(*unreadable));
    }
    fs::removeStaleTemporaries(backupDirectory, namesIn(backupDirectory));
    const auto slash = archivePath->rfind('/');
    const std::string temporary =
        backupDirectory + "/" + fs::temporaryNameOf(archivePath->substr(slash + 1), "backup");
    {
        ArchiveWriter writer(temporary, bytesOf(entries), progress);
        if (!writer.opened()) {
            return failed(*archivePath + ": " + writer.error());
        }
        for (const auto& entry : entries) {
            if (!writer.add(entry)) {
                return failed(writer.error());
            }
        }
        if (!writer.setComment(std::string(backupCommentPrefix) + absolute(folderPath)) ||
            !writer.close()) {
            return failed(*archivePath + ": " + writer.error());
        }
    }
    auto published = publish(temporary, *archivePath);
    if (!published) {
        ::unlink(temporary.c_str());
        return failed(published.error().message);
    }
    return std::move(published).value();
}

} // namespace quillet
