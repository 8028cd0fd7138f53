#include "frame_reader.h"

#include "result_codes.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr char kMarker[3] = {'<', '!', '>'};
// A body read straight into its payload grows it by at least this much at a time.
constexpr std::size_t kFirstBodyRoom = 256 * 1024;

// Room for at least `need` bytes, doubling so that a body arriving in pieces is copied
// O(length) times in all; never beyond the frame.
void Grow(std::vector<char>& payload, std::size_t need, std::size_t frame)
{
    if (payload.size() >= need)
        return;
    payload.resize(std::min(frame, std::max(need, payload.size() * 2)));
}

} // namespace

void CFrameReader::Reset()
{
    m_begin = m_end = 0;
    m_length = 0;
    m_got = 0;
    m_direct = false;
}

int CFrameReader::ReadHeader(std::vector<char>& payload)
{
    const auto* header = reinterpret_cast<const unsigned char*>(m_block.data() + m_begin);
    m_begin += kHeaderSize;
    const std::uint32_t length = (std::uint32_t{header[3]} << 24) |
                                 (std::uint32_t{header[4]} << 16) |
                                 (std::uint32_t{header[5]} << 8) | std::uint32_t{header[6]};
    // The length is signed on the wire: the top bit makes it negative.
    if (std::memcmp(header, kMarker, sizeof kMarker) != 0 || length == 0 || length > 0x7fffffffu ||
        length > m_maxLength) {
        Reset();
        return rc::kReceiveFailed;
    }
    m_length = length;
    m_got = 0;
    payload.clear();
    return kNeedMore;
}

int CFrameReader::Take(std::vector<char>& payload)
{
    if (m_length == 0) {
        if (Buffered() < static_cast<std::size_t>(kHeaderSize))
            return kNeedMore;
        if (ReadHeader(payload) != kNeedMore)
            return rc::kReceiveFailed;
    }
    const std::size_t n = std::min(Buffered(), m_length - m_got);
    if (n > 0) {
        Grow(payload, m_got + n, m_length);
        std::memcpy(payload.data() + m_got, m_block.data() + m_begin, n);
        m_begin += n;
        m_got += n;
    }
    if (m_got < m_length)
        return kNeedMore;
    const auto length = static_cast<int>(m_length);
    payload.resize(m_length + 1);
    payload[m_length] = '\0';
    m_length = 0;
    m_got = 0;
    return length;
}

std::span<char> CFrameReader::Space(std::vector<char>& payload)
{
    // A large body with nothing buffered goes straight where it belongs; everything else
    // through the block, which may then hold the beginning of later frames too.
    m_direct = m_length != 0 && Buffered() == 0 && m_length - m_got >= kBlockSize;
    if (m_direct) {
        Grow(payload, m_got + std::max(kFirstBodyRoom, m_got), m_length);
        return {payload.data() + m_got, payload.size() - m_got};
    }
    if (m_block.empty())
        m_block.resize(kBlockSize);
    if (m_begin == m_end) {
        m_begin = m_end = 0;
    } else if (m_end == m_block.size()) {
        std::memmove(m_block.data(), m_block.data() + m_begin, Buffered());
        m_end -= m_begin;
        m_begin = 0;
    }
    return {m_block.data() + m_end, m_block.size() - m_end};
}

void CFrameReader::Filled(std::size_t count)
{
    if (m_direct)
        m_got += count;
    else
        m_end += count;
}
