#pragma once

#include <cstddef>
#include <string>

#include "objc/TokenView.h"
#include "objc/UseRecorder.h"

namespace quillet::objc {

// Reads the keywords of the method signature whose "-" or "+" is at `start`, with a span each,
// past the return type, parameter types and names, and any attribute or annotation around them
// (__attribute__((ns_consumed)), NS_RELEASES_ARGUMENT, API_AVAILABLE(ios(13.0)), ...). Appends
// the keywords to `selector`, which stays empty for a unary method; returns the token after the
// last one read.
std::size_t readMethodKeywords(const TokenView& tokens, std::size_t start, UseRecorder& uses,
                               std::string& selector);

} // namespace quillet::objc
