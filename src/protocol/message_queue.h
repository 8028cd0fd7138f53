#pragma once

#include "semaphore_lock.h"

#include <deque>
#include <memory>

class CSocketMessage;

// Outgoing messages of one call channel, oldest first: the chat window pushes, the channel's
// sender thread pops. Any thread may call any operation.
class CMessageQueue final
{
public:
    CMessageQueue();
    ~CMessageQueue();
    CMessageQueue(const CMessageQueue&) = delete;
    CMessageQueue& operator=(const CMessageQueue&) = delete;

    // Queues a copy of the message; the caller keeps its own. An empty message is not queued
    // (false). No pointer to the copy is handed out: the sender may take it at once.
    bool Push(const CSocketMessage& message);
    // The oldest message, now owned by the caller, or nothing.
    std::unique_ptr<CSocketMessage> Pop();
    int Count() const;
    void Clear();

private:
    mutable CSemaphoreLock m_lock;
    std::deque<std::unique_ptr<CSocketMessage>> m_messages;
};
