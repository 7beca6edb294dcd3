#pragma once

#include <cstddef>
#include <vector>

#include "precise/ProjectIndex.h"
#include "precise/SourceFile.h"

namespace quillet {

// Which headers are the project's own, wherever they sit: besides those with an implementation
// file beside them, a header that declares a class the project implements and a method that
// class defines, or a protocol whose methods the project both defines and sends. Headers of a
// bundled framework (inside a ".framework" folder) are never the project's: a binary calls them.
std::vector<std::size_t> ownHeadersOf(const std::vector<SourceFile>& files,
                                      const ProjectIndex& index,
                                      const std::vector<std::size_t>& besideImplementation);

} // namespace quillet
