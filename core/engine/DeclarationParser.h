#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "engine/MethodModel.h"

namespace quillet {

// The method a header declaration names, cut at ")", " " and "(" into the pieces that hold a
// colon and are longer than two characters. Nothing for a declaration with a block type, without
// such pieces, or whose selector starts with "init" or "set" (initialisers and setters keep
// their names).
std::optional<MethodModel> methodOfDeclaration(std::string_view declaration,
                                               const std::string& file);

} // namespace quillet
