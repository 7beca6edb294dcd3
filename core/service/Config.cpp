#include "service/Config.h"

#include <cstdlib>

namespace quillet::Config {

namespace {

std::string fromEnvironment(const char* name, const char* builtIn) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : builtIn;
}

} // namespace

std::string serviceURL() {
    return fromEnvironment("QUILLET_SERVICE_URL", QUILLET_SERVICE_URL);
}

std::string webURL() {
    return fromEnvironment("QUILLET_WEB_URL", QUILLET_WEB_URL);
}

} // namespace quillet::Config
