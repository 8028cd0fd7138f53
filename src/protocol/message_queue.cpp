#include "message_queue.h"

#include "socket_message.h"

CMessageQueue::CMessageQueue() = default;
CMessageQueue::~CMessageQueue() = default;

bool CMessageQueue::Push(const CSocketMessage& message)
{
    if (message.Length() < 1)
        return false;
    auto copy = std::make_unique<CSocketMessage>(message);
    CSemaphoreLock::Scoped lock(m_lock);
    m_messages.push_back(std::move(copy));
    return true;
}

std::unique_ptr<CSocketMessage> CMessageQueue::Pop()
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (m_messages.empty())
        return nullptr;
    std::unique_ptr<CSocketMessage> message = std::move(m_messages.front());
    m_messages.pop_front();
    return message;
}

int CMessageQueue::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_messages.size());
}

void CMessageQueue::Clear()
{
    std::deque<std::unique_ptr<CSocketMessage>> old;
    CSemaphoreLock::Scoped lock(m_lock);
    old.swap(m_messages);
}
