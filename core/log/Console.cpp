#include "log/Console.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <optional>
#include <sstream>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "fs/AtomicFile.h"
#include "log/Log.h"
#include "paths/HomeFolder.h"
#include "text/Utf.h"

namespace quillet {

namespace {

// The earlier file's text, or nothing when it is missing or not UTF-8 text.
std::optional<std::string> readText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::string content = std::move(bytes).str();
    if (!text::isValidUtf8(content)) {
        return std::nullopt;
    }
    return content;
}

} // namespace

Console::Console(std::string path) : path_(std::move(path)) {}

Console::~Console() {
    closeLocked();
}

Console& Console::shared() {
    // Never destroyed: a request's thread may still log while the program exits.
    static auto* console = new Console(defaultPath());
    return *console;
}

std::string Console::defaultPath() {
    return homeFolder() + "/Quillet.txt";
}

std::string Console::timestamp(std::chrono::system_clock::time_point time) const {
    const auto seconds = std::chrono::system_clock::to_time_t(time);
    const auto millis =
        std::chrono::duration_cast<std::chrono::milliseconds>(time.time_since_epoch()).count() %
        1000;
    std::tm local{};
    ::localtime_r(&seconds, &local);
    char buffer[40];
    const auto length = std::strftime(buffer, sizeof buffer, "%Y-%m-%d %H:%M:%S", &local);
    char fraction[8];
    std::snprintf(fraction, sizeof fraction, ".%03d",
                  static_cast<int>(millis < 0 ? millis + 1000 : millis));
    return std::string(buffer, length) + fraction;
}

void Console::save(std::string_view entry) {
    saveJoined(entry, 1);
}

void Console::saveJoined(std::string_view entries, std::size_t count) {
    if (count == 0 || !saving_) {
        return;
    }
    Status written;
    {
        std::lock_guard lock(mutex_);
        ensureLogsLocked();
        if (entryCount_ > 0) {
            text_ += '\n';
        }
        text_ += entries;
        entryCount_ += count;
        written = flushLocked();
    }
    reportFailure("save(_:)", written);
}

void Console::clear() {
    Status written;
    {
        std::lock_guard lock(mutex_);
        closeLocked();
        inSync_ = false;
        written = fs::writeFileAtomically(path_, "");
        if (written) {
            logsExist_ = true;
            entryCount_ = 0;
            text_.clear();
            persisted_ = 0;
            fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
            inSync_ = fd_ >= 0;
            failing_ = false;
        }
    }
    reportFailure("clear()", written);
}

void Console::ensureLogsLocked() {
    if (logsExist_) {
        return;
    }
    logsExist_ = true;
    entryCount_ = 1;
    if (auto earlier = readText(path_)) {
        text_ = std::move(*earlier);
        fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
        persisted_ = text_.size();
        inSync_ = fd_ >= 0 && fileUnchangedLocked();
    } else {
        text_.clear();
        inSync_ = false;
    }
}

Status Console::flushLocked() {
    auto written = inSync_ && fileUnchangedLocked() ? appendLocked() : rewriteLocked();
    if (written) {
        failing_ = false;
    }
    return written;
}

bool Console::fileUnchangedLocked() const {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd_, &opened) == 0 && ::stat(path_.c_str(), &named) == 0 &&
           opened.st_ino == named.st_ino && opened.st_dev == named.st_dev &&
           static_cast<std::size_t>(opened.st_size) == persisted_;
}

Status Console::appendLocked() {
    const std::size_t wholeEntries = persisted_;
    while (persisted_ < text_.size()) {
        const ssize_t written = ::pwrite(fd_, text_.data() + persisted_, text_.size() - persisted_,
                                         static_cast<off_t>(persisted_));
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            const int error = written < 0 ? errno : ENOSPC;
            // Cut a partial entry off so the file still ends on a whole one.
            persisted_ = wholeEntries;
            inSync_ = ::ftruncate(fd_, static_cast<off_t>(wholeEntries)) == 0;
            return Error{"Could not write " + path_ + ": " + std::strerror(error)};
        }
        persisted_ += static_cast<std::size_t>(written);
    }
    return Status::success();
}

Status Console::rewriteLocked() {
    closeLocked();
    inSync_ = false;
    if (auto written = fs::writeFileAtomically(path_, text_); !written) {
        return written;
    }
    persisted_ = text_.size();
    fd_ = ::open(path_.c_str(), O_WRONLY | O_CLOEXEC);
    inSync_ = fd_ >= 0;
    return Status::success();
}

void Console::closeLocked() {
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

void Console::reportFailure(std::string_view function, const Status& written) {
    if (written) {
        return;
    }
    {
        // One report per run of failures: the report is an entry too, and its own write would
        // fail the same way.
        std::lock_guard lock(mutex_);
        if (failing_) {
            return;
        }
        failing_ = true;
    }
    log(LogSite{__FILE__, function, __LINE__}, written.error().message);
}

} // namespace quillet
