#pragma once

#include <cstdint>

// The timing of typing notices, in whole seconds of the clock the window reads (0: never).
// Sending: one notice at once when the operator starts typing, then at most one every 3 s.
// Receiving: the "is typing" line stays until a tick 4 s or more after the last notice came.
class CTypingState final
{
public:
    static constexpr std::int64_t kSendInterval = 3;
    static constexpr std::int64_t kShownFor = 4;

    // A key went down in the input box at now; true when a notice is due. The time is kept
    // whether or not the notice can be sent.
    bool KeyDown(std::int64_t now);
    void NoticeReceived(std::int64_t now) { m_lastReceived = now; }
    // True on every tick from 4 s after the last notice received until the next one comes.
    bool ShownTooLong(std::int64_t now) const;

private:
    std::int64_t m_lastSent = 0;
    std::int64_t m_lastReceived = 0;
};
