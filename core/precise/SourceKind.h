#pragma once

#include <string_view>

#include "objc/Token.h"

namespace quillet {

// What the precise mode makes of a project file, by its name.
enum class SourceKind {
    other,          // not read
    header,         // declares: .h, and the Objective-C++ and prefix headers
    implementation, // .m, .mm
    interfaceFile,  // interface and data files: .xib, .storyboard, .nib, .plist, .sdef
    swift,          // read for the names it uses, never rewritten
};

SourceKind sourceKindOf(std::string_view path);

// The language a header or implementation is read as: Objective-C++ for .mm and for the
// headers only C++ code includes (.hpp, .hh, .hxx, .inl) or that may reach it (.pch).
objc::Dialect dialectOf(std::string_view path);

} // namespace quillet
