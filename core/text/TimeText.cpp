#include "text/TimeText.h"

#include <ctime>

namespace quillet::text {

std::string formatTime(std::chrono::system_clock::time_point time, const char* format, Zone zone) {
    const std::time_t seconds = std::chrono::system_clock::to_time_t(time);
    std::tm parts{};
    if (zone == Zone::utc) {
        ::gmtime_r(&seconds, &parts);
    } else {
        ::localtime_r(&seconds, &parts);
    }
    char buffer[64];
    const auto written = std::strftime(buffer, sizeof buffer, format, &parts);
    return std::string(buffer, written);
}

} // namespace quillet::text
