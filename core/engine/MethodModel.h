#pragma once

#include <string>
#include <vector>

namespace quillet {

// One Objective-C method as the engine sees it: its selector pieces and the header declaring it.
struct MethodModel {
    std::vector<std::string> elements; // e.g. "fooWithName:", "count:"
    std::string file;                  // e.g. "Foo.h"; empty for a generated name

    // The pieces joined with nothing between them, e.g. "fooWithName:count:".
    std::string selector() const;
};

// A method and the name it is given. (`new` is reserved in C++, hence the underscore.)
struct RenamePair {
    MethodModel old;
    MethodModel new_;
};

} // namespace quillet
