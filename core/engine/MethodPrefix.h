#pragma once

#include <cstddef>
#include <string_view>

namespace quillet {

// The one rule for the text put in front of every new method name: it becomes the start of a
// selector, so ASCII letters, digits and "_", not starting with a digit, at most 32 characters.
// Empty means no prefix.
bool isValidMethodPrefix(std::string_view prefix);

inline constexpr std::size_t maxMethodPrefixLength = 32;
inline constexpr std::string_view methodPrefixRule =
    "a method prefix is ASCII letters, digits and \"_\", not starting with a digit, at most 32 "
    "characters";
inline constexpr std::string_view methodPrefixRuleText =
    "方法前缀只能使用英文字母、数字和下划线，不能以数字开头，最多32个字符";

// The text put in front of every new class and protocol name: it starts an identifier that
// should read as a type, so ASCII letters, digits and "_", starting with a letter, at most 32
// characters. Empty means no prefix.
bool isValidClassPrefix(std::string_view prefix);

inline constexpr std::string_view classPrefixRule =
    "a class prefix is ASCII letters, digits and \"_\", starting with a letter, at most 32 "
    "characters";
inline constexpr std::string_view classPrefixRuleText =
    "类名前缀只能使用英文字母、数字和下划线，必须以字母开头，最多32个字符";

} // namespace quillet
