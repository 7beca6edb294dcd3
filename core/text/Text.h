#pragma once

#include <string>
#include <string_view>
#include <vector>

// Plain text helpers over UTF-8 strings. Splitting and replacing work on bytes, which is exact
// for UTF-8 because no byte of a multi-byte character can equal an ASCII delimiter.
namespace quillet::text {

bool contains(std::string_view haystack, std::string_view needle);

// Pieces between every occurrence of `separator`; empty pieces kept, so joining them with the
// separator gives the text back.
std::vector<std::string> split(std::string_view text, char separator);
std::vector<std::string_view> splitViews(std::string_view text, char separator);

std::string join(const std::vector<std::string>& pieces, std::string_view separator);

// Replaces every non-overlapping occurrence, left to right. Returns whether anything changed.
bool replaceAll(std::string& text, std::string_view from, std::string_view to);

// Length in UTF-16 code units, the unit in which the rest of the product counts characters.
std::size_t utf16Length(std::string_view utf8);

// Compares two UTF-8 texts by their UTF-16 code units, as the product's text comparisons do.
int compareUtf16(std::string_view a, std::string_view b);

} // namespace quillet::text
