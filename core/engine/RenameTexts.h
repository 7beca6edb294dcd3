#pragma once

#include <cstddef>
#include <string>

#include "engine/MethodModel.h"

namespace quillet {

// The progress text and the name list entry of pair `number` (from 1) of `total`.
std::string progressText(std::size_t number, std::size_t total, const RenamePair& pair);
std::string nameListEntry(std::size_t number, std::size_t total, const RenamePair& pair);

} // namespace quillet
