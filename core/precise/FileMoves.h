#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillet {

// A file named after a renamed class, given the class's new name in the same folder. Paths are
// relative to the project.
struct PlannedMove {
    std::size_t file = 0; // among the loaded files
    std::string from;
    std::string to;
    std::size_t owner = 0; // the class, among the renames
};

// Text rewritten so that it names a moved file by its new name.
struct MoveEdit {
    std::size_t offset = 0;
    std::size_t length = 0;
    std::string text;
    std::size_t owner = 0;
};

// Why the files of one class keep their names.
struct MoveRefusal {
    std::size_t owner = 0;
    std::string why;
};

// The text with the edits made (they do not overlap).
std::string withEdits(std::string_view text, std::vector<MoveEdit> edits);
// Whether the text names the file `fileName` as a whole ("Foo.h", not "MyFoo.h" or "Foo.hpp").
bool mentionsFile(std::string_view text, std::string_view fileName);
// The path with "." and "folder/.." taken out; nothing when it climbs above where it starts.
std::optional<std::string> normalPath(std::string_view path);
std::string_view lastComponent(std::string_view path);
std::string folderOf(std::string_view path); // "" for a path without a folder

} // namespace quillet
