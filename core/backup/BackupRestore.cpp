#include "backup/BackupRestore.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <optional>
#include <set>

#include <sys/stat.h>
#include <unistd.h>
#include <zip.h>

#include "backup/FolderBackup.h"
#include "backup/ZipArchive.h"
#include "fs/AtomicFile.h"
#include "fs/DirectoryLister.h"
#include "fs/Durability.h"
#include "fs/FolderLock.h"
#include "fs/SourceReader.h"
#include "log/Log.h"
#include "text/Text.h"

namespace quillet {

namespace {

namespace stdfs = std::filesystem;

// One entry of the archive, relative to the project ("" for the project folder itself).
struct ArchivedEntry {
    std::string relative;
    zip_uint64_t index = 0;
    mode_t mode = 0; // type and permission bits as archived
};

// The content of one entry; nothing when it cannot be read.
std::optional<std::string> contentOf(const ZipArchive& archive, zip_uint64_t index) {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive.get(), index, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        return std::nullopt;
    }
    zip_file_t* file = zip_fopen_index(archive.get(), index, 0);
    if (file == nullptr) {
        return std::nullopt;
    }
    std::string content(static_cast<std::size_t>(stat.size), '\0');
    const auto read = zip_fread(file, content.data(), stat.size);
    zip_fclose(file);
    if (read < 0 || static_cast<zip_uint64_t>(read) != stat.size) {
        return std::nullopt;
    }
    return content;
}

// A name that stays inside the project: no absolute path, no "..", no empty step.
bool staysInside(const std::string& relative) {
    if (relative.empty()) {
        return true;
    }
    for (const auto& step : text::split(relative, '/')) {
        if (step.empty() || step == "." || step == "..") {
            return false;
        }
    }
    return true;
}

// The entries of a backup of one folder, each relative to that folder; an error when the archive
// is not one.
Result<std::vector<ArchivedEntry>> entriesOf(const ZipArchive& reader) {
    std::vector<ArchivedEntry> entries;
    std::string root;
    const auto count = zip_get_num_entries(reader.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        const char* raw = zip_get_name(reader.get(), index, ZIP_FL_ENC_RAW);
        zip_uint8_t system = 0;
        zip_uint32_t attributes = 0;
        if (raw == nullptr ||
            zip_file_get_external_attributes(reader.get(), index, 0, &system, &attributes) != 0) {
            return Error{"cannot read entry " + std::to_string(i)};
        }
        std::string name = raw;
        const bool folder = name.ends_with('/');
        if (folder) {
            name.pop_back();
        }
        const auto slash = name.find('/');
        const std::string top = name.substr(0, slash);
        if (root.empty()) {
            root = top;
        }
        const std::string relative = slash == std::string::npos ? "" : name.substr(slash + 1);
        if (top != root || top.empty() || !staysInside(relative)) {
            return Error{"the archive is not a backup of one folder (entry \"" + name + "\")"};
        }
        auto mode = static_cast<mode_t>(attributes >> 16);
        if (system != ZIP_OPSYS_UNIX || (mode & S_IFMT) == 0) {
            mode = folder ? (S_IFDIR | 0755) : (S_IFREG | 0644);
        }
        entries.push_back({relative, index, mode});
    }
    if (entries.empty()) {
        return Error{"the archive is empty"};
    }
    return entries;
}

// The name table a rename run writes into the project (engine/RenameTexts.h).
constexpr const char* nameTableFile = "QuilletNames.tsv";

// The files the last rename moved, new path -> old path, as its name table lists them.
std::map<std::string, std::string> filesMovedIn(const std::string& project) {
    std::map<std::string, std::string> moved;
    const auto table = fs::SourceReader::readBytes(project + "/" + nameTableFile);
    if (!table) {
        return moved;
    }
    for (const auto& line : text::split(*table, '\n')) {
        const auto fields = text::split(line, '\t');
        if (fields.size() == 3 && fields[0] == "file" && staysInside(fields[1]) &&
            staysInside(fields[2])) {
            moved.emplace(fields[2], fields[1]);
        }
    }
    return moved;
}

class Restorer {
public:
    Restorer(const ZipArchive& reader, std::string project)
        : reader_(reader), project_(std::move(project)) {}

    void restore(const std::vector<ArchivedEntry>& entries, const RestoreProgress& progress) {
        std::size_t done = 0;
        for (const auto& entry : entries) {
            archived_.insert(entry.relative);
            switch (entry.mode & S_IFMT) {
            case S_IFDIR:
                folder(entry);
                break;
            case S_IFLNK:
                link(entry);
                break;
            default:
                file(entry);
                break;
            }
            if (progress) {
                progress(++done, entries.size());
            }
        }
        // Folder modes last: a read-only folder would refuse the files that go into it.
        for (const auto& [path, mode] : folderModes_) {
            ::chmod(path.c_str(), mode & 07777);
        }
    }

    void listAdded(bool clean, const std::map<std::string, std::string>& moved) {
        const auto listing = fs::listRecursively(project_);
        if (!listing) {
            return;
        }
        for (const auto& relative : listing->subpaths) {
            if (archived_.contains(relative)) {
                continue;
            }
            const auto it = moved.find(relative);
            if (it != moved.end() && archived_.contains(it->second)) {
                removeRenamed(relative);
            } else {
                report_.added.push_back(relative);
            }
        }
        if (!clean) {
            return;
        }
        // Deepest first, so a folder is empty by the time it is removed.
        for (auto it = report_.added.rbegin(); it != report_.added.rend(); ++it) {
            const std::string path = pathOf(*it);
            std::error_code error;
            stdfs::remove(path, error);
            if (error) {
                report_.failed.push_back(path + ": " + error.message());
            }
        }
        report_.addedRemoved = true;
    }

    RestoreReport report() && { return std::move(report_); }

private:
    void removeRenamed(const std::string& relative) {
        const std::string path = pathOf(relative);
        if (::unlink(path.c_str()) != 0) {
            report_.failed.push_back(path + ": " + std::strerror(errno));
            return;
        }
        QLOG_AS("restoreBackup()", "Removed " + relative + ", a renamed file put back as it was");
        report_.renamedBack.push_back(relative);
    }

    std::string pathOf(const std::string& relative) const {
        return relative.empty() ? project_ : project_ + "/" + relative;
    }

    void fail(const std::string& path, const std::string& why) {
        report_.failed.push_back(path + ": " + why);
    }

    // Something else in the way of a file or link: a link or file goes, a folder stays.
    bool clear(const std::string& path, const struct stat& info) {
        if (S_ISDIR(info.st_mode)) {
            fail(path, "a folder is in the way");
            return false;
        }
        if (::unlink(path.c_str()) != 0) {
            fail(path, std::strerror(errno));
            return false;
        }
        return true;
    }

    void folder(const ArchivedEntry& entry) {
        const std::string path = pathOf(entry.relative);
        struct stat info {};
        const bool exists = ::lstat(path.c_str(), &info) == 0;
        if (exists && S_ISDIR(info.st_mode)) {
            ++report_.unchanged;
        } else {
            if (exists && !clear(path, info)) {
                return;
            }
            if (::mkdir(path.c_str(), 0700) != 0) {
                fail(path, std::strerror(errno));
                return;
            }
            ++report_.restored;
        }
        folderModes_[path] = entry.mode;
    }

    // Archives of other tools may leave out a file's folders.
    void makeFoldersOf(const std::string& path) {
        std::error_code ignored;
        stdfs::create_directories(stdfs::path(path).parent_path(), ignored);
    }

    void link(const ArchivedEntry& entry) {
        const std::string path = pathOf(entry.relative);
        const auto target = contentOf(reader_, entry.index);
        if (!target) {
            fail(path, "cannot read it from the archive");
            return;
        }
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            std::error_code error;
            if (S_ISLNK(info.st_mode) && stdfs::read_symlink(path, error).string() == *target) {
                ++report_.unchanged;
                return;
            }
            if (!clear(path, info)) {
                return;
            }
        }
        makeFoldersOf(path);
        if (::symlink(target->c_str(), path.c_str()) != 0) {
            fail(path, std::strerror(errno));
            return;
        }
        ++report_.restored;
    }

    void file(const ArchivedEntry& entry) {
        const std::string path = pathOf(entry.relative);
        const auto content = contentOf(reader_, entry.index);
        if (!content) {
            fail(path, "cannot read it from the archive");
            return;
        }
        struct stat info {};
        if (::lstat(path.c_str(), &info) == 0) {
            if (S_ISREG(info.st_mode) && (info.st_mode & 07777) == (entry.mode & 07777) &&
                sameContent(path, *content)) {
                ++report_.unchanged;
                return;
            }
            if (!S_ISREG(info.st_mode) && !clear(path, info)) {
                return;
            }
            // A file without write permission would be refused; its archived bits come back below.
            if (S_ISREG(info.st_mode)) {
                ::chmod(path.c_str(), (info.st_mode & 07777) | S_IWUSR);
            }
        }
        makeFoldersOf(path);
        if (const auto written = fs::writeFileAtomically(path, *content); !written) {
            report_.failed.push_back(written.error().message);
            return;
        }
        ::chmod(path.c_str(), entry.mode & 07777);
        ++report_.restored;
    }

    static bool sameContent(const std::string& path, const std::string& content) {
        std::error_code error;
        const auto size = stdfs::file_size(path, error);
        if (error || size != content.size()) {
            return false;
        }
        FILE* file = std::fopen(path.c_str(), "rb");
        if (file == nullptr) {
            return false;
        }
        std::string bytes(content.size(), '\0');
        const bool read = std::fread(bytes.data(), 1, bytes.size(), file) == bytes.size();
        std::fclose(file);
        return read && bytes == content;
    }

    const ZipArchive& reader_;
    std::string project_;
    std::set<std::string> archived_;
    std::map<std::string, mode_t> folderModes_;
    RestoreReport report_;
};

} // namespace

Result<std::string> backedUpFolder(const std::string& archive) {
    const ZipArchive reader(archive, ZIP_RDONLY);
    if (!reader.opened()) {
        return Error{"cannot open " + archive + ": " + reader.error()};
    }
    int length = 0;
    const char* comment = zip_get_archive_comment(reader.get(), &length, ZIP_FL_ENC_RAW);
    const std::string text =
        comment == nullptr ? std::string() : std::string(comment, static_cast<std::size_t>(length));
    if (!text.starts_with(backupCommentPrefix) || text.size() == backupCommentPrefix.size()) {
        return Error{archive + " does not say which folder it holds"};
    }
    return text.substr(backupCommentPrefix.size());
}

Result<RestoreReport> restoreBackup(const std::string& archive, const std::string& project,
                                    bool clean, const RestoreProgress& progress) {
    const ZipArchive reader(archive, ZIP_RDONLY);
    if (!reader.opened()) {
        return Error{"cannot open " + archive + ": " + reader.error()};
    }
    const auto entries = entriesOf(reader);
    if (!entries) {
        return Error{archive + ": " + entries.error().message};
    }
    std::error_code made;
    stdfs::create_directories(project, made);
    const auto lock = fs::FolderLock::take(project);
    if (!lock) {
        return lock.error();
    }
    // Read before the restore puts back an older table, if the archive holds one.
    const auto moved = filesMovedIn(project);
    Restorer restorer(reader, project);
    restorer.restore(*entries, progress);
    restorer.listAdded(clean, moved);
    // What was put back is in place either way; only its surviving a power cut is in doubt.
    if (const auto synced = fs::syncFileSystemOf(project); !synced) {
        QLOG_AS("restoreBackup()", synced.error().message);
    }
    return std::move(restorer).report();
}

} // namespace quillet
