#include "JsonOutput.h"

#include <iostream>

namespace quillet::cli {

void printJson(const nlohmann::json& document) {
    std::cout << document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) << "\n";
}

} // namespace quillet::cli
