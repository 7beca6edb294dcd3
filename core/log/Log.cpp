#include "log/Log.h"

#include <charconv>
#include <cstdio>

#include "log/Console.h"

namespace quillet {

namespace {

void echo(std::string_view entry) {
    // The entry ends in "\n"; one more line break leaves the empty line between entries.
    std::fwrite(entry.data(), 1, entry.size(), stdout);
    std::fputc('\n', stdout);
}

} // namespace

std::string_view logFileName(std::string_view sourcePath) {
    while (!sourcePath.empty() && sourcePath.back() == '/') {
        sourcePath.remove_suffix(1);
    }
    const auto slash = sourcePath.rfind('/');
    return slash == std::string_view::npos ? sourcePath : sourcePath.substr(slash + 1);
}

std::string logHeader(const LogSite& site, std::chrono::system_clock::time_point time) {
    std::string header = Console::shared().timestamp(time);
    header += " in ";
    header += logFileName(site.file);
    header += ' ';
    header += site.function;
    header += " [Line ";
    header += std::to_string(site.line);
    header += "]:\n";
    return header;
}

std::string logText(double value) {
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, result.ptr);
}

void logValues(const LogSite& site, const std::vector<std::string>& values) {
    std::string entry = logHeader(site, std::chrono::system_clock::now());
    for (const auto& value : values) {
        entry += value;
        entry += '\n';
    }
    Console& console = Console::shared();
    if (console.echoes()) {
        echo(entry);
    }
    console.save(entry);
}

const std::string& LogBatch::headerFor(const LogSite& site) {
    if (!time_) {
        time_ = std::chrono::system_clock::now();
        lastHeader_.clear();
    }
    const bool sameSite = !lastHeader_.empty() && site.line == lastSite_.line &&
                          site.file == lastSite_.file && site.function == lastSite_.function;
    if (!sameSite) {
        lastSite_ = site;
        lastHeader_ = logHeader(site, *time_);
    }
    return lastHeader_;
}

void LogBatch::add(const LogSite& site, std::string_view value) {
    const std::string& header = headerFor(site);
    if (count_ > 0) {
        entries_ += '\n';
    }
    entries_ += header;
    entries_ += value;
    entries_ += '\n';
    ++count_;
}

void LogBatch::commit() {
    if (count_ == 0) {
        return;
    }
    Console& console = Console::shared();
    if (console.echoes()) {
        echo(entries_); // the same lines as echoing each entry on its own
    }
    console.saveJoined(entries_, count_);
    entries_.clear();
    count_ = 0;
    time_.reset();
}

} // namespace quillet
