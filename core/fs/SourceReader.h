#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "base/Result.h"
#include "text/Utf.h"

namespace quillet::fs {

// The text of one source file and what is needed to write it back faithfully.
struct SourceText {
    std::string text; // UTF-8, without a byte order mark
    std::string bom;  // a UTF-8 byte order mark the file started with, written back in front
    std::size_t originalSize = 0; // bytes on disk
    // The byte order of a file that is UTF-16 on disk; writing `text` back as it is (UTF-8)
    // changes its bytes.
    std::optional<text::ByteOrder> utf16;
};

// The text, or why the file was not read ("a folder", "binary content", ...).
using SourceRead = Result<SourceText>;

// Reads a regular file as UTF-8 (optionally with a byte order mark) or as UTF-16 with a byte
// order mark. Symbolic links are never followed; folders, devices, binary files (any NUL
// character), files over the size limit and other encodings are unreadable and must be left alone.
class SourceReader {
public:
    static constexpr std::size_t maximumBytes = 256u << 20;

    static SourceRead read(const std::string& path);
    // The bytes of a regular file as they are, for formats that are read but never written
    // back; refused for the same reasons as read() except the content.
    static Result<std::string> readBytes(const std::string& path);
    // What read() makes of the bytes it read.
    static SourceRead decode(std::string bytes);

    // Whether the file at `path` holds exactly `bytes` now.
    static bool holds(const std::string& path, std::string_view bytes);
};

} // namespace quillet::fs
