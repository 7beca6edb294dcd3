#include "Crashlytics.h"

#include <array>
#include <atomic>
#include <csignal>
#include <cstring>
#include <ctime>
#include <execinfo.h>
#include <fcntl.h>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "base/Fatal.h"

namespace quillet {
namespace {

constexpr std::array fatalSignals{SIGSEGV, SIGBUS, SIGILL, SIGFPE, SIGABRT};

// Everything the handler needs is prepared ahead in fixed buffers, since a signal handler may
// not allocate. A setter fills the spare buffer and then switches to it.
struct PreparedText {
    std::array<char, 4096> bytes{};
    std::size_t size = 0;
};
std::array<PreparedText, 2> headers;
std::atomic<int> currentHeader{0};
std::array<char, 4096> folderPath{};

std::array<char, 1 << 16> alternateStack; // so a stack overflow can still be reported

void prepare(const std::string& text, PreparedText& into) {
    into.size = std::min(text.size(), into.bytes.size());
    std::memcpy(into.bytes.data(), text.data(), into.size);
}

// Signal-safe text building.
class Line {
public:
    void add(const char* text) {
        while (*text != '\0' && size_ < bytes_.size()) {
            bytes_[size_++] = *text++;
        }
    }
    void add(long long number, int width = 0) {
        char digits[24];
        int count = 0;
        const bool negative = number < 0;
        unsigned long long value = negative ? 0ULL - static_cast<unsigned long long>(number)
                                            : static_cast<unsigned long long>(number);
        do {
            digits[count++] = static_cast<char>('0' + value % 10);
            value /= 10;
        } while (value != 0);
        while (count < width && count < static_cast<int>(sizeof(digits))) {
            digits[count++] = '0';
        }
        if (negative) {
            add("-");
        }
        while (count > 0 && size_ < bytes_.size()) {
            bytes_[size_++] = digits[--count];
        }
    }
    const char* data() const { return bytes_.data(); }
    std::size_t size() const { return size_; }
    const char* c_str() {
        bytes_[std::min(size_, bytes_.size() - 1)] = '\0';
        return bytes_.data();
    }

private:
    std::array<char, 512> bytes_{};
    std::size_t size_ = 0;
};

// Days since 1970-01-01 to a civil date, without the C library's locale-bound functions.
void addUtcTime(Line& line, std::time_t seconds) {
    const long long days = seconds / 86400;
    const long long secondsOfDay = seconds % 86400;
    const long long z = days + 719468;
    const long long era = z / 146097;
    const long long dayOfEra = z - era * 146097;
    const long long yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const long long monthIndex = (5 * dayOfYear + 2) / 153;
    const long long day = dayOfYear - (153 * monthIndex + 2) / 5 + 1;
    const long long month = monthIndex < 10 ? monthIndex + 3 : monthIndex - 9;
    const long long year = yearOfEra + era * 400 + (month <= 2 ? 1 : 0);
    line.add(year, 4);
    line.add("-");
    line.add(month, 2);
    line.add("-");
    line.add(day, 2);
    line.add(" ");
    line.add(secondsOfDay / 3600, 2);
    line.add(":");
    line.add(secondsOfDay / 60 % 60, 2);
    line.add(":");
    line.add(secondsOfDay % 60, 2);
    line.add(" UTC");
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGSEGV:
        return "SIGSEGV";
    case SIGBUS:
        return "SIGBUS";
    case SIGILL:
        return "SIGILL";
    case SIGFPE:
        return "SIGFPE";
    case SIGABRT:
        return "SIGABRT";
    default:
        return "signal";
    }
}

void writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written <= 0) {
            return;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
}

void onFatalSignal(int signal) {
    Crashlytics::shared().writeReport(signal);
    // The handler was installed to run once; the default action now ends the process with the
    // same signal, so whoever waits for it sees the real cause.
    ::raise(signal);
}

} // namespace

Crashlytics& Crashlytics::shared() {
    static Crashlytics* reporter = new Crashlytics; // must outlive every static destructor
    return *reporter;
}

Status Crashlytics::start(const std::string& folder, const std::string& version) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error || !std::filesystem::is_directory(folder, error)) {
        return Error{"Could not make " + folder + (error ? ": " + error.message() : "")};
    }
    if (folder.size() >= folderPath.size()) {
        return Error{"The path of " + folder + " is too long"};
    }
    folder_ = folder;
    version_ = version;
    std::memcpy(folderPath.data(), folder.c_str(), folder.size() + 1);
    rebuildHeader();

    void* warmUp[1];
    ::backtrace(warmUp, 1); // loads the unwinder now, not inside the handler

    stack_t stack{};
    stack.ss_sp = alternateStack.data();
    stack.ss_size = alternateStack.size();
    ::sigaltstack(&stack, nullptr);
    struct sigaction action {};
    action.sa_handler = onFatalSignal;
    action.sa_flags = SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (const int signal : fatalSignals) {
        ::sigaction(signal, &action, nullptr);
    }
    return Status::success();
}

void Crashlytics::setUserName(const std::string& name) {
    userName_ = name.empty() ? "Unknown" : name;
    rebuildHeader();
}

void Crashlytics::setUserIdentifier(const std::string& identifier) {
    userIdentifier_ = identifier;
    rebuildHeader();
}

void Crashlytics::rebuildHeader() {
    const int spare = 1 - currentHeader.load();
    prepare("version: " + version_ + "\nuser name: " + userName_ +
                "\nuser identifier: " + userIdentifier_ + "\n",
            headers[static_cast<std::size_t>(spare)]);
    currentHeader.store(spare);
}

void Crashlytics::writeReport(int signal) const {
    const std::time_t now = std::time(nullptr);
    Line path;
    path.add(folderPath.data());
    path.add("/crash-");
    path.add(static_cast<long long>(now));
    path.add("-");
    path.add(static_cast<long long>(::getpid()));
    path.add(".txt");
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return;
    }
    Line opening;
    opening.add("Quillet crash report\ntime: ");
    addUtcTime(opening, now);
    opening.add("\n");
    writeAll(fd, opening.data(), opening.size());
    const PreparedText& header = headers[static_cast<std::size_t>(currentHeader.load())];
    writeAll(fd, header.bytes.data(), header.size);
    Line cause;
    cause.add("signal: ");
    cause.add(signal);
    cause.add(" (");
    cause.add(signalName(signal));
    cause.add(")\n");
    if (fatalReason()[0] != '\0') {
        cause.add("reason: ");
        cause.add(fatalReason());
        cause.add("\n");
    }
    cause.add("backtrace:\n");
    writeAll(fd, cause.data(), cause.size());
    void* frames[64];
    const int count = ::backtrace(frames, 64);
    ::backtrace_symbols_fd(frames, count, fd);
    ::close(fd);
}

} // namespace quillet
