#pragma once

#include <chrono>
#include <string>

namespace quillet::text {

enum class Zone { local, utc };

// `time` written with a strftime format, in local time or UTC.
std::string formatTime(std::chrono::system_clock::time_point time, const char* format, Zone zone);

// "yyyy-MM-dd_HH_mm_ss" in local time: the stamp in the names of backups and set-aside files.
inline std::string fileNameTime(std::chrono::system_clock::time_point time) {
    return formatTime(time, "%Y-%m-%d_%H_%M_%S", Zone::local);
}

} // namespace quillet::text
