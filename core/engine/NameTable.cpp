#include "engine/NameTable.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <tuple>

#include "fs/SourceReader.h"
#include "text/Text.h"

namespace quillet {

namespace {

constexpr std::array<std::string_view, 6> kindWords = {"method", "unary",    "property",
                                                       "class",  "protocol", "file"};

bool before(const NameEntry& a, const NameEntry& b) {
    return std::tie(a.kind, a.from) < std::tie(b.kind, b.from);
}

// The entries of a MethodReplaceList.txt: each "Old --> " line and the "New --> " line after it.
std::vector<NameEntry> methodListEntries(std::string_view text) {
    std::vector<NameEntry> entries;
    constexpr std::string_view oldMark = "Old --> ";
    constexpr std::string_view newMark = "New --> ";
    std::optional<std::string> from;
    for (auto line : text::splitViews(text, '\n')) {
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        if (line.starts_with(oldMark)) {
            from = std::string(line.substr(oldMark.size()));
        } else if (line.starts_with(newMark) && from) {
            const auto kind = entryKindOfSelector(*from);
            entries.push_back(
                {kind, std::move(*from), std::string(line.substr(newMark.size())), false});
            from.reset();
        }
    }
    return entries;
}

Result<NameEntry> entryOfLine(std::string_view line, std::size_t number) {
    const auto fields = text::splitViews(line, '\t');
    const auto at = " (line " + std::to_string(number) + ")";
    if (fields.size() != 3 && fields.size() != 4) {
        return Error{"a line of a names file holds kind, old name and new name, tab-separated" +
                     at};
    }
    const auto kind = kindOfWord(fields[0]);
    if (!kind) {
        return Error{"unknown kind of name \"" + std::string(fields[0]) + "\"" + at};
    }
    if (fields[1].empty() || fields[2].empty()) {
        return Error{"an empty name" + at};
    }
    if (fields.size() == 4 && fields[3] != "unused") {
        return Error{"the fourth field can only be \"unused\"" + at};
    }
    return NameEntry{*kind, std::string(fields[1]), std::string(fields[2]), fields.size() == 4};
}

} // namespace

std::string_view kindWord(NameEntry::Kind kind) {
    return kindWords[static_cast<std::size_t>(kind)];
}

std::optional<NameEntry::Kind> kindOfWord(std::string_view word) {
    const auto it = std::find(kindWords.begin(), kindWords.end(), word);
    if (it == kindWords.end()) {
        return std::nullopt;
    }
    return static_cast<NameEntry::Kind>(it - kindWords.begin());
}

NameEntry::Kind entryKindOf(TypeName::Kind kind) {
    switch (kind) {
    case TypeName::Kind::classType:
        return NameEntry::Kind::classType;
    case TypeName::Kind::protocolType:
        return NameEntry::Kind::protocolType;
    case TypeName::Kind::property:
        return NameEntry::Kind::property;
    }
    return NameEntry::Kind::classType;
}

TypeName::Kind typeKindOf(NameEntry::Kind kind) {
    return kind == NameEntry::Kind::classType      ? TypeName::Kind::classType
           : kind == NameEntry::Kind::protocolType ? TypeName::Kind::protocolType
                                                   : TypeName::Kind::property;
}

NameEntry::Kind entryKindOfSelector(std::string_view selector) {
    return selector.ends_with(':') ? NameEntry::Kind::method : NameEntry::Kind::unary;
}

NameTable::NameTable(std::vector<NameEntry> entries) : entries_(std::move(entries)) {
    std::sort(entries_.begin(), entries_.end(), before);
}

Result<NameTable> NameTable::parse(std::string_view text) {
    std::vector<NameEntry> entries;
    if (text.find("Old --> ") != std::string_view::npos) {
        entries = methodListEntries(text);
    } else {
        std::size_t number = 0;
        for (auto line : text::splitViews(text, '\n')) {
            ++number;
            if (line.ends_with('\r')) {
                line.remove_suffix(1);
            }
            if (line.empty() || line.starts_with('#')) {
                continue;
            }
            auto entry = entryOfLine(line, number);
            if (!entry) {
                return entry.error();
            }
            entries.push_back(std::move(*entry));
        }
    }
    if (entries.empty()) {
        return Error{"no names in it"};
    }
    NameTable table(std::move(entries));
    const auto twice = std::adjacent_find(table.entries_.begin(), table.entries_.end(),
                                          [](const NameEntry& a, const NameEntry& b) {
                                              return a.kind == b.kind && a.from == b.from;
                                          });
    if (twice != table.entries_.end()) {
        return Error{"the " + std::string(kindWord(twice->kind)) + " " + twice->from +
                     " is given two new names"};
    }
    return table;
}

Result<NameTable> NameTable::read(const std::string& path) {
    std::error_code error;
    const auto target = std::filesystem::canonical(path, error);
    auto read = fs::SourceReader::read(error ? path : target.string());
    if (!read) {
        return Error{"cannot read " + path + ": " + read.error().message};
    }
    auto table = parse(read->text);
    if (!table) {
        return Error{path + " is not a names file: " + table.error().message};
    }
    return table;
}

const NameEntry* NameTable::find(NameEntry::Kind kind, std::string_view from) const {
    const auto it = std::lower_bound(
        entries_.begin(), entries_.end(), std::pair{kind, from},
        [](const NameEntry& entry, const std::pair<NameEntry::Kind, std::string_view>& key) {
            return entry.kind != key.first ? entry.kind < key.first
                                           : std::string_view(entry.from) < key.second;
        });
    return it != entries_.end() && it->kind == kind && it->from == from ? &*it : nullptr;
}

std::size_t NameTable::carryOver(const NameTable& earlier) {
    std::vector<NameEntry> kept;
    for (const auto& entry : earlier.entries_) {
        if (find(entry.kind, entry.from) == nullptr) {
            kept.push_back(entry);
            kept.back().unused = true;
        }
    }
    entries_.insert(entries_.end(), kept.begin(), kept.end());
    std::sort(entries_.begin(), entries_.end(), before);
    return kept.size();
}

std::string NameTable::text(std::string_view header) const {
    std::string text = "# " + std::string(header) + "\n";
    for (const auto& entry : entries_) {
        text += std::string(kindWord(entry.kind)) + "\t" + entry.from + "\t" + entry.to +
                (entry.unused ? "\tunused\n" : "\n");
    }
    return text;
}

} // namespace quillet
