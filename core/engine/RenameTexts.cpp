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

} // namespace quillet
