#pragma once

#include <string>

namespace quillet::Config {

// The word bank service that requests are posted to, and the web site of the help pages. Both
// are fixed when the program is built; QUILLET_SERVICE_URL and QUILLET_WEB_URL in the
// environment replace them, for development and tests only.
std::string serviceURL();
std::string webURL();

} // namespace quillet::Config
