#include "fs/SourceReader.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "text/Utf.h"

namespace quillet::fs {

namespace {

SourceRead unreadable(std::string problem) {
    return Error{std::move(problem)};
}

bool readAll(int fd, std::string& bytes, std::size_t expected) {
    bytes.resize(expected);
    std::size_t filled = 0;
    while (true) {
        if (filled == bytes.size()) {
            // The file may have grown since fstat; keep reading until the end.
            bytes.resize(bytes.size() + 4096);
        }
        const ssize_t got = ::read(fd, bytes.data() + filled, bytes.size() - filled);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0) {
            return false;
        }
        if (got == 0) {
            bytes.resize(filled);
            return true;
        }
        filled += static_cast<std::size_t>(got);
        if (filled > SourceReader::maximumBytes) {
            errno = EFBIG;
            return false;
        }
    }
}

bool startsWith(const std::string& bytes, std::string_view prefix) {
    return bytes.size() >= prefix.size() &&
           std::memcmp(bytes.data(), prefix.data(), prefix.size()) == 0;
}

SourceRead decodeText(std::string bytes) {
    SourceText source;
    source.originalSize = bytes.size();
    std::string_view body = bytes;
    static constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const auto order =
            bytes[0] == '\xFF' ? text::ByteOrder::littleEndian : text::ByteOrder::bigEndian;
        auto converted = text::utf16ToUtf8(body.substr(2), order);
        if (!converted) {
            return unreadable("not valid UTF-16 text");
        }
        source.text = std::move(*converted);
        source.utf16 = order;
    } else {
        if (startsWith(bytes, utf8Bom)) {
            source.bom = utf8Bom;
            body.remove_prefix(utf8Bom.size());
        }
        if (!text::isValidUtf8(body)) {
            return unreadable("not UTF-8 or UTF-16 text");
        }
        bytes.erase(0, source.bom.size());
        source.text = std::move(bytes);
    }
    if (source.text.find('\0') != std::string::npos) {
        return unreadable("binary content");
    }
    return source;
}

// Opens a regular file for reading without following a symbolic link; -1 with the reason in
// `problem` when it cannot be opened or is something else.
int openRegular(const std::string& path, std::string& problem) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        problem = std::strerror(errno);
        return -1;
    }
    if (S_ISLNK(info.st_mode)) {
        problem = "symbolic link, not followed";
        return -1;
    }
    if (S_ISDIR(info.st_mode)) {
        problem = "a folder";
        return -1;
    }
    if (!S_ISREG(info.st_mode)) {
        problem = "not a regular file";
        return -1;
    }
    if (static_cast<std::size_t>(info.st_size) > SourceReader::maximumBytes) {
        problem = "larger than 256 MiB";
        return -1;
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        problem = std::strerror(errno);
    }
    return fd;
}

// The whole content of an open regular file.
bool readOpened(int fd, std::string& bytes, int& error) {
    struct stat opened {};
    const bool ok = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                    readAll(fd, bytes, static_cast<std::size_t>(opened.st_size));
    error = errno;
    ::close(fd);
    return ok;
}

} // namespace

SourceRead SourceReader::read(const std::string& path) {
    auto bytes = readBytes(path);
    if (!bytes) {
        return unreadable(bytes.error().message);
    }
    return decode(std::move(*bytes));
}

Result<std::string> SourceReader::readBytes(const std::string& path) {
    std::string problem;
    const int fd = openRegular(path, problem);
    if (fd < 0) {
        return Error{problem};
    }
    std::string bytes;
    int error = 0;
    if (!readOpened(fd, bytes, error)) {
        return Error{error == EFBIG ? "larger than 256 MiB" : std::strerror(error)};
    }
    return bytes;
}

SourceRead SourceReader::decode(std::string bytes) {
    return decodeText(std::move(bytes));
}

bool SourceReader::holds(const std::string& path, std::string_view expected) {
    std::string problem;
    const int fd = openRegular(path, problem);
    std::string bytes;
    int error = 0;
    return fd >= 0 && readOpened(fd, bytes, error) && bytes == expected;
}

} // namespace quillet::fs
