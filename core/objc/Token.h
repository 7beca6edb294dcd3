#pragma once

#include <cstdint>
#include <string_view>

namespace quillet::objc {

enum class TokenKind : std::uint8_t {
    identifier,
    number,
    string,     // "...", @"...", L"...", u8"...", R"d(...)d"
    character,  // 'a', L'a'
    atKeyword,  // @interface, @selector, @end, @YES ...
    punctuator, // [ ] ( ) { } : :: ; , ? ^ - + ... and the other operators
    headerName, // <Foundation/Foundation.h> or "Foo.h" after #import/#include
    directive,  // "#" and the directive's name; the whole line for #pragma, #error, #warning
};

// One token of a source text: a range of bytes in it, never a copy.
struct Token {
    std::uint32_t offset = 0;
    std::uint32_t length = 0;
    TokenKind kind = TokenKind::punctuator;
    std::uint8_t flags = 0;

    static constexpr std::uint8_t inDirective = 1; // on a preprocessor line (a macro body too)
    static constexpr std::uint8_t atString = 2;    // an Objective-C string literal @"..."

    bool is(std::uint8_t flag) const { return (flags & flag) != 0; }
    std::uint32_t end() const { return offset + length; }
    std::string_view in(std::string_view source) const { return source.substr(offset, length); }
};

// Objective-C++ (.mm) adds raw string literals to what the lexer must know.
enum class Dialect : std::uint8_t { objectiveC, objectiveCpp };

} // namespace quillet::objc
