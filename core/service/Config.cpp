#include "service/Config.h"

#include <cstdlib>

namespace quillet::Config {

namespace {

// An address as given, without the "/" it may end with ("http://host:8417/"), so that paths
// can be added to it.
std::string fromEnvironment(const char* name, const char* builtIn) {
    const char* value = std::getenv(name);
    std::string address = value != nullptr && *value != '\0' ? value : builtIn;
    while (address.ends_with('/')) {
        address.pop_back();
    }
    return address;
}

} // namespace

std::string serviceURL() {
    return fromEnvironment("QUILLET_SERVICE_URL", QUILLET_SERVICE_URL);
}

std::string webURL() {
    return fromEnvironment("QUILLET_WEB_URL", QUILLET_WEB_URL);
}

} // namespace quillet::Config
