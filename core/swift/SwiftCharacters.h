#pragma once

namespace quillet::swift {

// Character classes of Swift source, byte by byte: any byte of a multi-byte UTF-8 sequence
// counts as a letter, which is what Swift's identifier rules amount to for our purposes.
inline bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
inline bool isNameStart(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == '$' || u >= 0x80;
}
inline bool isNamePart(char c) {
    return isNameStart(c) || isDigit(c);
}
inline bool isSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v' || c == '\0';
}

} // namespace quillet::swift
