#pragma once

#include <string_view>

namespace quillet {

// Paths are later handed to tools that take them unquoted, so only ASCII letters, digits, "_",
// "/", "." and "-" are accepted, at least one character.
bool isAcceptedPath(std::string_view path);

// A backup directory is kept by the settings and used from any working folder, so it must also
// be a full path.
bool isAcceptedBackupDirectory(std::string_view path);

inline constexpr std::string_view illegalPathTitle = "非法路径";
inline constexpr std::string_view illegalPathMessage =
    "[路径/文件名]不能使用中文、空格以及特殊字符";
inline constexpr std::string_view relativeBackupDirectoryMessage =
    "代码备份目录必须是以 / 开头的完整路径";

} // namespace quillet
