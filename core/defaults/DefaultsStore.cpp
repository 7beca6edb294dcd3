#include "defaults/DefaultsStore.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "defaults/JsonValue.h"
#include "fs/AtomicFile.h"
#include "log/Log.h"
#include "paths/HomeFolder.h"
#include "text/TimeText.h"

namespace quillet {

namespace {

namespace stdfs = std::filesystem;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::string() : std::string(value);
}

// Holds an exclusive lock on "<document>.lock" for as long as it lives. The document itself is
// replaced by renaming, so locking it would not exclude anyone.
class FileLock {
public:
    explicit FileLock(const std::string& documentPath) {
        const std::string lockPath = documentPath + ".lock";
        fd_ = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
        if (fd_ < 0) {
            error_ = "Could not open " + lockPath + ": " + std::strerror(errno);
            return;
        }
        while (::flock(fd_, LOCK_EX) != 0) {
            if (errno != EINTR) {
                error_ = "Could not lock " + lockPath + ": " + std::strerror(errno);
                break;
            }
        }
    }
    ~FileLock() {
        if (fd_ >= 0) {
            ::close(fd_); // releases the lock
        }
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    const std::string& error() const { return error_; }

private:
    int fd_ = -1;
    std::string error_;
};

} // namespace

DefaultsStore::DefaultsStore(std::string path) : path_(std::move(path)) {}

DefaultsStore& DefaultsStore::standard() {
    static DefaultsStore store(standardPath());
    return store;
}

std::string DefaultsStore::standardPath() {
#ifdef __APPLE__
    const std::string folder = homeFolder() + "/Library/Application Support";
#else
    std::string folder = environment("XDG_CONFIG_HOME");
    // Relative values are to be ignored, as if unset.
    if (folder.empty() || folder.front() != '/') {
        folder = homeFolder() + "/.config";
    }
#endif
    return folder + "/Quillet/Defaults.json";
}

std::optional<DefaultsValue> DefaultsStore::object(std::string_view key) {
    std::lock_guard lock(mutex_);
    loadLocked();
    if (const auto it = document_.find(key); it != document_.end()) {
        if (auto value = fromJson(*it)) {
            return value;
        }
    }
    if (const auto it = registered_.find(key); it != registered_.end()) {
        return it->second;
    }
    return std::nullopt;
}

bool DefaultsStore::holdsAnything() {
    std::lock_guard lock(mutex_);
    loadLocked();
    return !document_.empty();
}

Status DefaultsStore::setObject(std::string_view key, DefaultsValue value) {
    std::lock_guard lock(mutex_);
    return changeLocked(key, value);
}

Status DefaultsStore::removeObject(std::string_view key) {
    std::lock_guard lock(mutex_);
    return changeLocked(key, std::nullopt);
}

void DefaultsStore::registerDefaults(const std::map<std::string, DefaultsValue>& defaults) {
    std::lock_guard lock(mutex_);
    for (const auto& [key, value] : defaults) {
        registered_.insert_or_assign(key, value);
    }
}

Status DefaultsStore::synchronize() {
    std::lock_guard lock(mutex_);
    FileLock fileLock(path_);
    nlohmann::json document;
    if (readLocked(document) == ReadOutcome::failed) {
        return Error{"Could not read " + path_};
    }
    document_ = std::move(document);
    loaded_ = true;
    return Status::success();
}

void DefaultsStore::loadLocked() {
    if (loaded_) {
        return;
    }
    loaded_ = true;
    FileLock fileLock(path_);
    nlohmann::json document;
    if (readLocked(document) != ReadOutcome::failed) {
        document_ = std::move(document);
    }
}

DefaultsStore::ReadOutcome DefaultsStore::readLocked(nlohmann::json& document) {
    document = nlohmann::json::object();
    std::error_code missing;
    if (!stdfs::exists(path_, missing)) {
        return missing ? ReadOutcome::failed : ReadOutcome::missing;
    }
    std::ifstream in(path_, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    if (!in || in.bad()) {
        QLOG("Could not read " + path_);
        return ReadOutcome::failed;
    }
    auto parsed = nlohmann::json::parse(bytes.str(), nullptr, false);
    if (parsed.is_discarded() || !parsed.is_object()) {
        moveAsideLocked(parsed.is_discarded() ? "not valid JSON" : "not a JSON object");
        return ReadOutcome::missing;
    }
    document = std::move(parsed);
    return ReadOutcome::read;
}

void DefaultsStore::moveAsideLocked(const std::string& why) {
    const std::string base =
        path_ + ".corrupt-" + text::fileNameTime(std::chrono::system_clock::now());
    std::string aside = base;
    // Where the folder cannot be looked at, the rename below fails as well and says so.
    std::error_code unknown;
    for (int n = 2; stdfs::exists(aside, unknown); ++n) {
        aside = base + "-" + std::to_string(n);
    }
    std::error_code error;
    stdfs::rename(path_, aside, error);
    if (error) {
        QLOG("The settings file " + path_ + " is damaged (" + why +
                 ") and could not be moved aside",
             error.message());
    } else {
        QLOG("The settings file " + path_ + " was damaged (" + why + "); kept as " + aside);
    }
}

Status DefaultsStore::changeLocked(std::string_view key,
                                   const std::optional<DefaultsValue>& value) {
    loadLocked();
    // This process sees its own change even when the file cannot take it.
    if (value) {
        document_[std::string(key)] = toJson(*value);
    } else {
        document_.erase(std::string(key));
    }

    std::error_code folderError;
    stdfs::create_directories(stdfs::path(path_).parent_path(), folderError);
    FileLock fileLock(path_);
    if (!fileLock.error().empty()) {
        QLOG("Could not save the settings", fileLock.error());
        return Error{fileLock.error()};
    }
    nlohmann::json onDisk;
    if (readLocked(onDisk) == ReadOutcome::failed) {
        // Writing now would replace keys that could not be read.
        QLOG("Could not save the settings", path_);
        return Error{"Could not read " + path_};
    }
    if (value) {
        onDisk[std::string(key)] = toJson(*value);
    } else {
        onDisk.erase(std::string(key));
    }
    std::string text;
    try {
        text = onDisk.dump(2) + "\n";
    } catch (const nlohmann::json::type_error&) {
        // JSON holds UTF-8 only.
        const std::string why = "The value of " + std::string(key) + " is not UTF-8 text";
        QLOG("Could not save the settings", why);
        return Error{why};
    }
    if (auto written = fs::writeFileAtomically(path_, text, fs::Access::ownerOnly); !written) {
        QLOG("Could not save the settings", written.error().message);
        return written;
    }
    document_ = std::move(onDisk);
    return Status::success();
}

} // namespace quillet
