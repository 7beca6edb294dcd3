#include "engine/RenameTexts.h"

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

std::string nameTable(const std::vector<RenamePair>& pairs, const std::vector<TypeRename>& types,
                      const std::vector<MovedFile>& files) {
    std::string table;
    for (const auto& pair : pairs) {
        const std::string from = pair.old.selector();
        table += from.ends_with(':') ? "method\t" : "unary\t";
        table += from + "\t" + pair.new_.selector() + "\n";
    }
    for (const auto& type : types) {
        table += std::string(kindWord(type.kind)) + "\t" + type.from + "\t" + type.to + "\n";
    }
    for (const auto& file : files) {
        table += "file\t" + file.from + "\t" + file.to + "\n";
    }
    return table;
}

} // namespace quillet
