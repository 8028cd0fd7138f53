#include "option_values.h"

static_assert(std::int64_t{kMaxNotifyTimeout} * 1000 <= std::numeric_limits<int>::max() &&
              (std::int64_t{kMaxNotifyTimeout} + 1) * 1000 > std::numeric_limits<int>::max());

namespace {

// C's isspace in the "C" locale; QChar::isSpace would also take Unicode blanks, which atoi
// does not skip.
bool IsCSpace(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

std::optional<int> InRange(std::int64_t value, int low, int high)
{
    if (value < low || value > high)
        return std::nullopt;
    return static_cast<int>(value);
}

} // namespace

std::int64_t LeadingDecimal(QStringView text)
{
    constexpr std::int64_t kLimit = std::numeric_limits<std::int64_t>::max();
    qsizetype i = 0;
    while (i < text.size() && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        const int digit = text[i].unicode() - u'0';
        magnitude = magnitude > (kLimit - digit) / 10 ? kLimit : magnitude * 10 + digit;
    }
    return negative ? -magnitude : magnitude;
}

std::optional<int> ServerPortFromText(QStringView text)
{
    return InRange(LeadingDecimal(text), 1, kMaxServerPort);
}

std::optional<int> NotifyTimeoutFromText(QStringView text)
{
    return InRange(LeadingDecimal(text), 1, kMaxNotifyTimeout);
}
