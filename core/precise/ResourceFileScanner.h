#pragma once

#include <string_view>

#include "objc/SourceFacts.h"

namespace quillet {

// Whether the precise mode reads the file at `path` as an interface or data file that may name
// selectors: .xib, .storyboard, .nib (a file, or one inside a compiled nib's folder), .plist,
// .sdef, and a Core Data model's contents.
bool isResourcePath(std::string_view path);
// Whether such a file may be binary, so is read as bytes first: .nib and .plist.
bool mayBeBinary(std::string_view path);

// The selectors an interface or data file names, by its name and what it holds: `content` is
// its text, or its bytes when `binary` (never rewritten: every selector in it is fixed).
objc::SourceFacts scanResourceFile(std::string_view fileName, std::string_view content,
                                   bool binary);

} // namespace quillet
