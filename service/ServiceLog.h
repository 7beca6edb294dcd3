#pragma once

#include <string_view>

namespace quillet::service {

// The service's log on standard error: one line per event, stamped with the UTC time. Bytes a
// client chose (paths) are escaped, so no request can forge or split a line.
class ServiceLog {
public:
    void write(std::string_view text) const;
};

} // namespace quillet::service
