#include "engine/RenameTexts.h"

#include <ctime>

#include "version/Version.h"

namespace quillet {

std::string progressText(std::size_t number, std::size_t total, const RenamePair& pair) {
    return "[ " + std::to_string(number) + "/" + std::to_string(total) + " ]\n\n\nOrigin:\n" +
           pair.old.selector() + "\n\nNew:\n" + pair.new_.selector();
}

std::string nameListEntry(std::size_t number, std::size_t total, const RenamePair& pair) {
    return "[ " + std::to_string(number) + "/" + std::to_string(total) + " ] Method in " +
           pair.old.file + "\nOld --> " + pair.old.selector() + "\nNew --> " +
           pair.new_.selector() + "\n\n";
}

NameTable nameTable(const std::vector<RenamePair>& pairs, const std::vector<TypeRename>& types,
                    const std::vector<MovedFile>& files) {
    std::vector<NameEntry> entries;
    entries.reserve(pairs.size() + types.size() + files.size());
    for (const auto& pair : pairs) {
        std::string from = pair.old.selector();
        const auto kind = entryKindOfSelector(from);
        entries.push_back({kind, std::move(from), pair.new_.selector(), false});
    }
    for (const auto& type : types) {
        entries.push_back({entryKindOf(type.kind), type.from, type.to, false});
    }
    for (const auto& file : files) {
        entries.push_back({NameEntry::Kind::file, file.from, file.to, false});
    }
    return NameTable(std::move(entries));
}

std::string nameTableHeader(std::string_view mode) {
    const std::time_t now = std::time(nullptr);
    std::tm utc{};
    ::gmtime_r(&now, &utc);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return "Quillet " + std::string(version) + ", " + std::string(mode) + " mode, " + stamp;
}

} // namespace quillet
