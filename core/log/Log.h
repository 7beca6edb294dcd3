#pragma once

#include <chrono>
#include <concepts>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace quillet {

// Where an entry comes from: the caller's source file, function and line.
struct LogSite {
    std::string_view file;
    std::string_view function;
    int line = 0;
};

// "<timestamp> in <file name> <function> [Line <n>]:\n"
std::string logHeader(const LogSite& site, std::chrono::system_clock::time_point time);
// The last non-empty "/"-separated component of a source path.
std::string_view logFileName(std::string_view sourcePath);

// The ordinary textual form of a logged value.
inline std::string logText(std::string_view value) {
    return std::string(value);
}
inline std::string logText(const char* value) {
    return value;
}
inline std::string logText(const std::string& value) {
    return value;
}
inline std::string logText(bool value) {
    return value ? "true" : "false";
}
std::string logText(double value);
template <std::integral T>
requires(!std::same_as<T, bool> && !std::same_as<T, char>) std::string logText(T value) {
    return std::to_string(value);
}

// Writes one entry: a header line and one line per value, echoed on standard output when the
// shared console echoes, then saved to the shared log file.
void logValues(const LogSite& site, const std::vector<std::string>& values);

template <typename... Values> void log(const LogSite& site, const Values&... values) {
    logValues(site, std::vector<std::string>{logText(values)...});
}

// Many entries logged at one moment and saved with a single write: the engine logs one entry per
// file a method is visible in, which adds up to hundreds of thousands in a large run.
class LogBatch {
public:
    void add(const LogSite& site, std::string_view value);
    // Saves the entries collected so far; the next entry starts a new batch with a new time.
    void commit();

private:
    const std::string& headerFor(const LogSite& site);

    std::optional<std::chrono::system_clock::time_point> time_;
    LogSite lastSite_;
    std::string lastHeader_;
    std::string entries_; // joined with "\n"
    std::size_t count_ = 0;
};

} // namespace quillet

// Logs values under the calling function's own name.
#define QLOG(...) ::quillet::log(::quillet::LogSite{__FILE__, __func__, __LINE__}, __VA_ARGS__)
// Logs values under a given function name, for entries whose name others rely on.
#define QLOG_AS(function, ...)                                                                     \
    ::quillet::log(::quillet::LogSite{__FILE__, function, __LINE__}, __VA_ARGS__)
#define QLOG_SITE(function) (::quillet::LogSite{__FILE__, function, __LINE__})
