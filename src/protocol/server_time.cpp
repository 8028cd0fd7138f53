#include "server_time.h"

#include <ctime>

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// One "%d" the way scanf reads it: blanks skipped, an optional sign, at least one digit.
// Numbers too large to name a moment saturate; the range checks reject them later.
bool ReadNumber(std::string_view text, size_t& at, int& value)
{
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    const size_t first = at;
    long long number = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (number < 100'000'000)
            number = number * 10 + (text[at] - '0');
    }
    if (at == first)
        return false;
    value = static_cast<int>(negative ? -number : number);
    return true;
}

// A literal character of the pattern: matched exactly, no blanks skipped before it.
bool ReadLiteral(std::string_view text, size_t& at, char literal)
{
    if (at >= text.size() || text[at] != literal)
        return false;
    ++at;
    return true;
}

// The pattern "%d-%d-%d %d:%d:%d", read as scanf would (the blank matches any run of blanks,
// none included); text after the sixth number is ignored.
bool ParseStamp(std::string_view text, int (&n)[6])
{
    size_t at = 0;
    if (!ReadNumber(text, at, n[0]) || !ReadLiteral(text, at, '-') || !ReadNumber(text, at, n[1]) ||
        !ReadLiteral(text, at, '-') || !ReadNumber(text, at, n[2]))
        return false;
    while (at < text.size() && IsBlank(text[at]))
        ++at;
    return ReadNumber(text, at, n[3]) && ReadLiteral(text, at, ':') && ReadNumber(text, at, n[4]) &&
           ReadLiteral(text, at, ':') && ReadNumber(text, at, n[5]);
}

bool InRange(int value, int low, int high)
{
    return value >= low && value <= high;
}

void PutDigits(char*& out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i) {
        out[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    out += width;
}

} // namespace

std::string ServerTimeToLocal(std::string_view utcText)
{
    int n[6];
    if (!ParseStamp(utcText, n))
        return std::string(utcText);
    const int year = n[0], month = n[1], day = n[2], hour = n[3], minute = n[4], second = n[5];
    // Out-of-range numbers would otherwise be carried into the next unit silently and give a
    // plausible but wrong local time.
    if (!InRange(year, 1, 9999) || !InRange(month, 1, 12) || !InRange(day, 1, 31) ||
        !InRange(hour, 0, 23) || !InRange(minute, 0, 59) || !InRange(second, 0, 59))
        return std::string(utcText);

    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    utc.tm_sec = second;
    const std::time_t instant = ::timegm(&utc);
    if (utc.tm_mday != day) // 31 April and the like: no such date
        return std::string(utcText);

    std::tm local{};
    if (!::localtime_r(&instant, &local) || !InRange(local.tm_year + 1900, 0, 9999))
        return std::string(utcText);
    // "HH:MM:SS MM/DD/YYYY"
    char text[19];
    char* out = text;
    PutDigits(out, local.tm_hour, 2);
    *out++ = ':';
    PutDigits(out, local.tm_min, 2);
    *out++ = ':';
    PutDigits(out, local.tm_sec, 2);
    *out++ = ' ';
    PutDigits(out, local.tm_mon + 1, 2);
    *out++ = '/';
    PutDigits(out, local.tm_mday, 2);
    *out++ = '/';
    PutDigits(out, local.tm_year + 1900, 4);
    return std::string(text, sizeof text);
}
