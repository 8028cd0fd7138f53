#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// Cuts frames out of the bytes a connection delivers: "<!>" | payload length (uint32,
// big-endian) | payload. Bytes are read in blocks, so that a burst of small frames costs one
// read; the body of a large frame is read straight into its payload, which grows with what
// arrives, so a peer that announces much and sends little costs little. No I/O of its own: the
// socket reads into Space() and reports the count with Filled().
//
// A frame is assembled in the caller's payload vector within one receive; the bytes read past
// its end wait in the block for the next one. After a failure the stream is never
// resynchronised: the owner ends the connection (Reset drops what is left).
class CFrameReader final
{
public:
    static constexpr int kNeedMore = 0;
    static constexpr int kHeaderSize = 7;
    static constexpr std::size_t kBlockSize = 64 * 1024;

    explicit CFrameReader(std::uint32_t maxLength) : m_maxLength(maxLength) {}

    // The next frame once it is whole: its length, with payload holding its bytes and a NUL
    // behind them (not counted). kNeedMore while bytes are missing. -4 as soon as the header is
    // in and bad: wrong marker, length 0, top bit set, or above the cap (so no body is ever
    // waited for or reserved beyond the cap).
    int Take(std::vector<char>& payload);
    // Where the next read may put its bytes (never empty), and how many it put there.
    std::span<char> Space(std::vector<char>& payload);
    void Filled(std::size_t count);

    // Some bytes of the next frame are in.
    bool Begun() const { return m_length != 0 || m_end > m_begin; }
    // ... but not yet its whole header.
    bool InHeader() const { return m_length == 0 && m_end > m_begin; }
    void Reset();
    void SetMaxLength(std::uint32_t maxLength) { m_maxLength = maxLength; }

private:
    std::size_t Buffered() const { return m_end - m_begin; }
    int ReadHeader(std::vector<char>& payload);

    std::uint32_t m_maxLength;
    std::vector<char> m_block; // kBlockSize once the first read comes
    std::size_t m_begin = 0;   // unread bytes are [m_begin, m_end)
    std::size_t m_end = 0;
    std::uint32_t m_length = 0; // of the frame whose body is being read; 0 before its header
    std::size_t m_got = 0;      // body bytes already in the payload
    bool m_direct = false;      // Space() handed out the payload, not the block
};
