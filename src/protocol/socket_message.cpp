#include "socket_message.h"

#include "client_socket.h"
#include "result_codes.h"

#include <charconv>
#include <cstdio>
#include <cstring>
#include <limits>

namespace {

constexpr int kCodeWidth = 4;
constexpr std::uint32_t kDelimiterSize = 3;
// What a message keeps of the room its last payload and field index needed.
constexpr size_t kKeptRoom = 4 * 1024 * 1024;

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads the code "%4d"-style: leading blanks skipped, then at most four characters of an
// optionally signed number. No number gives 0.
std::int32_t ParseCode(const char* p, const char* end)
{
    while (p < end && IsBlank(*p))
        ++p;
    const char* stop = p + kCodeWidth < end ? p + kCodeWidth : end;
    bool negative = false;
    if (p < stop && (*p == '-' || *p == '+')) {
        negative = *p == '-';
        ++p;
    }
    std::int32_t value = 0;
    for (; p < stop && *p >= '0' && *p <= '9'; ++p)
        value = value * 10 + (*p - '0');
    return negative ? -value : value;
}

// atoi-like, but saturating instead of undefined on overflow.
std::int32_t ParseNumber(std::string_view text)
{
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i]))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    constexpr std::int64_t limit = std::int64_t{std::numeric_limits<std::int32_t>::max()} + 1;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > limit)
            value = limit;
    }
    if (negative)
        return static_cast<std::int32_t>(-value);
    return static_cast<std::int32_t>(value >= limit ? limit - 1 : value);
}

} // namespace

CSocketMessage::CSocketMessage(int code)
{
    if (code < 1 || code > 9999)
        return;
    char text[8];
    std::snprintf(text, sizeof text, "%4d", code);
    m_payload.assign(text, text + kCodeWidth);
    m_payload.push_back('\0');
    m_length = kCodeWidth;
    m_code = code;
}

void CSocketMessage::Clear()
{
    m_length = 0;
    m_code = 0;
    // A receive loop keeps one message for its whole life: room that one huge frame needed
    // is given back rather than held until the connection ends.
    if (m_payload.capacity() > kKeptRoom)
        std::vector<char>().swap(m_payload);
    if (m_fieldEnds.capacity() > kKeptRoom / sizeof(std::uint32_t))
        std::vector<std::uint32_t>().swap(m_fieldEnds);
    m_payload.clear();
    m_fieldEnds.clear();
}

int CSocketMessage::AddField(std::string_view text)
{
    if (m_code == 0 || m_length == 0)
        return rc::kEmptyMessage;
    const auto fieldStart = static_cast<std::uint32_t>(m_length);
    m_payload.pop_back(); // the NUL
    m_payload.insert(m_payload.end(), text.begin(), text.end());
    m_payload.insert(m_payload.end(), kDelimiter.begin(), kDelimiter.end());
    m_payload.push_back('\0');
    m_length = static_cast<std::int32_t>(m_payload.size() - 1);
    // No escaping: a text holding the delimiter reads back as several fields, like on the wire.
    IndexFrom(fieldStart);
    return rc::kOk;
}

int CSocketMessage::AddField(const std::optional<std::string>& text)
{
    return AddField(text ? std::string_view(*text) : std::string_view());
}

int CSocketMessage::AddIntField(std::int32_t value)
{
    char text[16];
    const auto [end, ec] = std::to_chars(text, text + sizeof text, value);
    (void)ec;
    return AddField(std::string_view(text, static_cast<size_t>(end - text)));
}

int CSocketMessage::Send(CClientSocket& socket) const
{
    if (m_code == 0 || m_length == 0)
        return rc::kEmptyMessage;
    return socket.SendFrame(m_payload.data(), m_length);
}

int CSocketMessage::Receive(CClientSocket& socket)
{
    Clear();
    const int result = socket.ReceiveFrame(m_payload);
    if (result <= 0) {
        m_payload.clear();
        return result;
    }
    return Adopt(result);
}

int CSocketMessage::Assign(std::string_view payload)
{
    Clear();
    if (payload.empty())
        return rc::kReceiveFailed;
    m_payload.assign(payload.begin(), payload.end());
    m_payload.push_back('\0');
    return Adopt(static_cast<int>(payload.size()));
}

int CSocketMessage::Adopt(int length)
{
    m_length = length;
    BuildIndex();
    if (length >= kCodeWidth) {
        m_code = ParseCode(m_payload.data(), m_payload.data() + length);
        if (m_code < 0)
            return rc::kBadFormat;
    }
    return length;
}

void CSocketMessage::BuildIndex()
{
    m_fieldEnds.clear();
    if (m_length >= kCodeWidth)
        IndexFrom(kCodeWidth);
}

void CSocketMessage::IndexFrom(std::uint32_t offset)
{
    // string_view::find rather than memmem: sanitizer builds check memmem's whole remaining
    // range on every call, which turns indexing a large reply quadratic there.
    const std::string_view text(m_payload.data(), static_cast<size_t>(m_length));
    size_t at = text.find(kDelimiter, offset);
    while (at != std::string_view::npos) {
        m_fieldEnds.push_back(static_cast<std::uint32_t>(at));
        at = text.find(kDelimiter, at + kDelimiterSize);
    }
}

bool CSocketMessage::FieldSpan(int n, std::uint32_t& begin, std::uint32_t& end) const
{
    if (m_length == 0)
        return false;
    if (n < 1)
        n = 1;
    if (static_cast<size_t>(n) > m_fieldEnds.size())
        return false;
    begin = n == 1 ? kCodeWidth : m_fieldEnds[static_cast<size_t>(n) - 2] + kDelimiterSize;
    end = m_fieldEnds[static_cast<size_t>(n) - 1];
    return end > begin;
}

std::string_view CSocketMessage::FieldView(int n) const
{
    std::uint32_t begin = 0, end = 0;
    if (!FieldSpan(n, begin, end))
        return {};
    return {m_payload.data() + begin, end - begin};
}

bool CSocketMessage::HasField(int n) const
{
    std::uint32_t begin = 0, end = 0;
    return FieldSpan(n, begin, end);
}

std::optional<std::string> CSocketMessage::GetField(int n) const
{
    std::uint32_t begin = 0, end = 0;
    if (!FieldSpan(n, begin, end))
        return std::nullopt;
    return std::string(m_payload.data() + begin, end - begin);
}

std::int32_t CSocketMessage::GetIntField(int n) const
{
    std::uint32_t begin = 0, end = 0;
    if (!FieldSpan(n, begin, end))
        return rc::kBadFormat;
    return ParseNumber({m_payload.data() + begin, end - begin});
}

int CSocketMessage::FieldCount() const
{
    return static_cast<int>(m_fieldEnds.size());
}
