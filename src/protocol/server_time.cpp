#include "server_time.h"

#include <cstdio>
#include <ctime>

namespace {

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

} // namespace

std::string ServerTimeToLocal(std::string_view utcText)
{
    // sscanf needs a terminated text; the pattern keeps the service's lenient reading (blanks
    // before numbers, signs, trailing text ignored).
    const std::string text(utcText);
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    if (std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &year, &month, &day, &hour, &minute,
                    &second) != 6)
        return text;
    // Out-of-range numbers would otherwise be carried into the next unit silently and give a
    // plausible but wrong local time.
    if (!InRange(year, 1, 9999) || !InRange(month, 1, 12) || !InRange(day, 1, 31) ||
        !InRange(hour, 0, 23) || !InRange(minute, 0, 59) || !InRange(second, 0, 59))
        return text;

    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    const std::time_t instant = ::timegm(&utc);
    if (utc.tm_mday != day) // 31 April and the like: no such date
        return text;

    std::tm local{};
    if (!::localtime_r(&instant, &local))
        return text;
    char out[48];
    std::snprintf(out, sizeof out, "%02d:%02d:%02d %02d/%02d/%04d", local.tm_hour, local.tm_min,
                  local.tm_sec, local.tm_mon + 1, local.tm_mday, local.tm_year + 1900);
    return out;
}
