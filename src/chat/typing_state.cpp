#include "typing_state.h"

bool CTypingState::KeyDown(std::int64_t now)
{
    if (m_lastSent != 0 && now - m_lastSent < kSendInterval)
        return false;
    m_lastSent = now;
    return true;
}

bool CTypingState::ShownTooLong(std::int64_t now) const
{
    return m_lastReceived != 0 && now - m_lastReceived >= kShownFor;
}
