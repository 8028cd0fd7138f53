#pragma once

#include "semaphore_lock.h"

#include <memory>
#include <vector>

class CCallSession;

// The channels of one call, oldest first, keyed by channel id. Every operation takes the list's
// lock for its own length only; none connects, sends or waits under it. Channels are shared:
// a thread that found one may keep using it while another takes it out of the list.
class CChannelList final
{
public:
    CChannelList() = default;
    CChannelList(const CChannelList&) = delete;
    CChannelList& operator=(const CChannelList&) = delete;

    std::shared_ptr<CCallSession> Find(int channelId) const;
    // Appends the channel unless its id is listed already (false).
    bool Add(std::shared_ptr<CCallSession> channel);
    std::shared_ptr<CCallSession> Remove(int channelId);
    // Takes the oldest channel out, or nothing when the list is empty.
    std::shared_ptr<CCallSession> TakeOldest();
    int Count() const;

private:
    mutable CSemaphoreLock m_lock;
    std::vector<std::shared_ptr<CCallSession>> m_channels;
};
