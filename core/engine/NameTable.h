#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/Result.h"
#include "engine/TypeName.h"

namespace quillet {

// One name a run gave: the old name and the new one, of one kind.
struct NameEntry {
    enum class Kind : std::uint8_t { method, unary, property, classType, protocolType, file };
    Kind kind = Kind::method;
    std::string from;
    std::string to;
    // Carried over from an earlier list although the project no longer has the name, so a later
    // release can still give it back.
    bool unused = false;

    bool operator==(const NameEntry&) const = default;
};

// "method", "unary", "property", "class", "protocol" or "file", as the table writes them.
std::string_view kindWord(NameEntry::Kind kind);
std::optional<NameEntry::Kind> kindOfWord(std::string_view word);

// The entry kind of a class, protocol or property, and back (a method or file is none of them).
NameEntry::Kind entryKindOf(TypeName::Kind kind);
TypeName::Kind typeKindOf(NameEntry::Kind kind);
// "method" for a selector with keywords, "unary" for one without.
NameEntry::Kind entryKindOfSelector(std::string_view selector);

// Every name a run gave, as QuilletNames.tsv keeps them: a "#" header line, then one line a name,
// "kind<TAB>old<TAB>new", with "<TAB>unused" after a name carried over; UTF-8, sorted by kind
// (in the order of NameEntry::Kind) then old name. Reads a MethodReplaceList.txt as well, whose
// entries are methods.
class NameTable {
public:
    NameTable() = default;
    explicit NameTable(std::vector<NameEntry> entries);

    // The table a names file holds, or why it is not one: a line that is neither a comment nor
    // three or four tab-separated fields of a known kind, an old name given twice in one kind,
    // or a list with no entry.
    static Result<NameTable> parse(std::string_view text);
    // Reads the file at `path`, which may be a link (the user names it; it is not a project's).
    static Result<NameTable> read(const std::string& path);

    const std::vector<NameEntry>& entries() const { return entries_; }
    // The entry of the old name `from` of `kind`, or null.
    const NameEntry* find(NameEntry::Kind kind, std::string_view from) const;

    // Keeps what `earlier` lists and this table does not, marked unused, so that a later run
    // can still give those names back. Returns how many entries it kept.
    std::size_t carryOver(const NameTable& earlier);

    // The file's text, after the header line "# <header>".
    std::string text(std::string_view header) const;

private:
    std::vector<NameEntry> entries_; // sorted
};

} // namespace quillet
