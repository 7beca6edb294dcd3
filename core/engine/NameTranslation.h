#pragma once

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/NameTable.h"
#include "text/StringHash.h"

namespace quillet {

// Puts the old names of a names file back into a text that carries the new ones: a crash report
// (.crash text or .ips JSON), atos output, a log, a source. Only whole tokens are taken back, and
// only when the table gives them one old name in their context; every other byte is copied as it
// is, whatever it is (CRLF, bytes that are not UTF-8).
//
// Tokens. An identifier is a run of [A-Za-z0-9_$] that does not start with a digit (one that
// does is a number, such as 0x100abc123); a backslash escape (\n, \t, \", \\, \u00e9...) ends a
// token as a space would, so the JSON string "\nZqShelf" holds ZqShelf. A file name is a run of
// identifier characters, '.', '+' and '-' (less the dots that end a sentence), taken back only
// when the whole run is a renamed file's name; else the identifiers in it are read one by one.
//
// Where the kind of a token is certain:
//  - in a method symbol "-[Class(Category) selector]" or "+[...]", wherever it is written
//    (__35-[ZqShelf putThing:]_block_invoke, an unrecognized-selector reason), the first word is
//    a class; the selector is a method or property setter as a whole, an argument-less method or
//    property getter, or else the keyword pieces of the methods, each of which must map;
//  - @selector(...) holds the same selector.
// Elsewhere an identifier may be a class, protocol, property, its _ivar or an argument-less
// method (so may a category's name, and the name in "__name_block_invoke[_N]"); followed by ':'
// also a keyword piece, a one-piece selector or a setter. Adjacent pieces ("putThing:many:") are
// a selector, taken back whole or not at all. When the meanings a token may have give different
// old names, the token is left as it is.
//
// One pass: what a token becomes is never looked up again. With a table where an old name is
// another entry's new name, each run therefore takes one step back along that chain. No
// context reaches past a line's end, so translating a text line by line gives the same bytes.
class NameTranslation {
public:
    explicit NameTranslation(const NameTable& table);

    std::string translate(std::string_view text) const;

    // The entries no text can hold as a token, or whose old name would break the text it lands
    // in (a quote, a backslash, a control character, bytes that are not UTF-8); they are not
    // translated.
    const std::vector<NameEntry>& leftOut() const { return leftOut_; }

private:
    // What a token can stand for; each gives an old name for a new one.
    enum class Meaning : std::uint8_t {
        classType,
        protocolType,
        property,
        unary,
        ivar,     // _property
        setter,   // setProperty, before ':'
        piece,    // a keyword piece of a method, before ':'
        selector, // a whole method, colons included
        file,     // a file's name, without its folder
    };
    struct Target {
        std::string old; // empty when the token has no such meaning
        bool ambiguous = false;
    };
    using Meanings = std::array<Target, static_cast<std::size_t>(Meaning::file) + 1>;

    class Pass;
    class Agreement;

    void add(std::string key, Meaning meaning, std::string old);
    void addEntry(const NameEntry& entry);
    // Adds the old names `token` has as `meanings`; a whole selector's without its last ':'
    // when `dropColon`.
    void consider(Agreement& agreement, std::string_view token,
                  std::initializer_list<Meaning> meanings, bool dropColon = false) const;
    // The old name all of `meanings` agree on for `token`, if any has one.
    std::optional<std::string_view> oldName(std::string_view token,
                                            std::initializer_list<Meaning> meanings) const;
    std::optional<std::string_view> oldIdentifier(std::string_view word) const;
    // A word with the ':' after it, outside a selector of several pieces.
    std::optional<std::string_view> oldKeyword(std::string_view keyword) const;
    // A selector where one is certain: in a method symbol or @selector(...).
    std::optional<std::string> oldSelector(std::string_view selector) const;
    // A selector with arguments, as a whole or else piece by piece.
    std::optional<std::string> oldKeywords(std::string_view selector) const;
    std::optional<std::string> oldBlockName(std::string_view name) const;

    text::StringMap<Meanings> names_;
    bool hasFiles_ = false;
    std::vector<NameEntry> leftOut_;
};

} // namespace quillet
