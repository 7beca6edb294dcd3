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
    SourceRead result;
    result.problem = std::move(problem);
    return result;
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

SourceRead decode(std::string bytes) {
    SourceRead result;
    std::string_view body = bytes;
    static constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
    if (startsWith(bytes, "\xFF\xFE") || startsWith(bytes, "\xFE\xFF")) {
        const auto order =
            bytes[0] == '\xFF' ? text::ByteOrder::littleEndian : text::ByteOrder::bigEndian;
        auto converted = text::utf16ToUtf8(body.substr(2), order);
        if (!converted) {
            return unreadable("not valid UTF-16 text");
        }
        result.source.text = std::move(*converted);
    } else {
        if (startsWith(bytes, utf8Bom)) {
            result.source.bom = utf8Bom;
            body.remove_prefix(utf8Bom.size());
        }
        if (!text::isValidUtf8(body)) {
            return unreadable("not UTF-8 or UTF-16 text");
        }
        result.source.text = std::string(body);
    }
    if (result.source.text.find('\0') != std::string::npos) {
        return unreadable("binary content");
    }
    result.source.original = std::move(bytes);
    result.readable = true;
    return result;
}

} // namespace

SourceRead SourceReader::read(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return unreadable(std::strerror(errno));
    }
    if (S_ISLNK(info.st_mode)) {
        return unreadable("symbolic link, not followed");
    }
    if (S_ISDIR(info.st_mode)) {
        return unreadable("a folder");
    }
    if (!S_ISREG(info.st_mode)) {
        return unreadable("not a regular file");
    }
    if (static_cast<std::size_t>(info.st_size) > maximumBytes) {
        return unreadable("larger than 256 MiB");
    }
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return unreadable(std::strerror(errno));
    }
    struct stat opened {};
    std::string bytes;
    const bool ok = ::fstat(fd, &opened) == 0 && S_ISREG(opened.st_mode) &&
                    readAll(fd, bytes, static_cast<std::size_t>(opened.st_size));
    const int error = errno;
    ::close(fd);
    if (!ok) {
        return unreadable(error == EFBIG ? "larger than 256 MiB" : std::strerror(error));
    }
    return decode(std::move(bytes));
}

} // namespace quillet::fs
