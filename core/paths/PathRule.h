#pragma once

#include <string_view>

namespace quillet {

// Paths are later handed to tools that take them unquoted, so only ASCII letters, digits, "_",
// "/", "." and "-" are accepted, at least one character.
bool isAcceptedPath(std::string_view path);

inline constexpr std::string_view illegalPathTitle = "非法路径";
inline constexpr std::string_view illegalPathMessage =
    "[路径/文件名]不能使用中文、空格以及特殊字符";

} // namespace quillet
