#include "utc_stamp.h"

#include <cstdio>
#include <ctime>

std::string UtcStamp(std::chrono::system_clock::time_point when)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(when);
    std::tm utc{};
    ::gmtime_r(&seconds, &utc);
    char text[48];
    std::snprintf(text, sizeof text, "%d-%d-%d %d:%d:%d", utc.tm_year + 1900, utc.tm_mon + 1,
                  utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec);
    return text;
}
