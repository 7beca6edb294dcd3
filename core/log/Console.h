#pragma once

#include <atomic>
#include <chrono>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"

namespace quillet {

// The run log file: every entry of the current run, joined with "\n", in `path()`.
// The file holds the full text after every save, but a save appends only what is new, so a run
// with hundreds of thousands of entries costs time linear in its size. Whenever the file on disk
// no longer matches (a failed write, another process, an unreadable earlier file) the next save
// replaces it whole from the text kept in memory.
class Console {
public:
    explicit Console(std::string path);
    ~Console();
    Console(const Console&) = delete;
    Console& operator=(const Console&) = delete;

    // The process-wide log at the home directory's "/Quillet.txt".
    static Console& shared();
    static std::string defaultPath();

    const std::string& path() const { return path_; }
    // "yyyy-MM-dd HH:mm:ss.SSS" in local time.
    std::string timestamp(std::chrono::system_clock::time_point time) const;

    void save(std::string_view entry);
    // `count` entries already joined with "\n", saved in one step with one write.
    void saveJoined(std::string_view entries, std::size_t count);
    void clear();

    // Whether log() also prints entries on standard output.
    void setEcho(bool on) { echo_ = on; }
    bool echoes() const { return echo_; }
    // Whether saves reach the file at all; off, entries are dropped and the file is left alone,
    // for a process that would write it for every input and whose log no one reads (a fuzzer).
    void setSaving(bool on) { saving_ = on; }

private:
    void ensureLogsLocked();
    Status flushLocked();
    Status appendLocked();
    Status rewriteLocked();
    bool fileUnchangedLocked() const;
    void closeLocked();
    void reportFailure(std::string_view function, const Status& written);

    std::string path_;
    std::atomic<bool> echo_{true};
    std::atomic<bool> saving_{true};

    std::mutex mutex_;
    bool logsExist_ = false;
    std::size_t entryCount_ = 0;
    std::string text_;          // what the file must hold
    std::size_t persisted_ = 0; // leading bytes of text_ known to be in the file
    bool inSync_ = false;       // the file holds exactly text_'s first persisted_ bytes
    bool failing_ = false;      // a failure was reported and no write has succeeded since
    int fd_ = -1;
};

} // namespace quillet
