#include "channel_list.h"

#include "call_session.h"

#include <algorithm>

std::shared_ptr<CCallSession> CChannelList::Find(int channelId) const
{
    CSemaphoreLock::Scoped lock(m_lock);
    for (const auto& channel : m_channels) {
        if (channel->ChannelId() == channelId)
            return channel;
    }
    return nullptr;
}

bool CChannelList::Add(std::shared_ptr<CCallSession> channel)
{
    CSemaphoreLock::Scoped lock(m_lock);
    for (const auto& listed : m_channels) {
        if (listed->ChannelId() == channel->ChannelId())
            return false;
    }
    m_channels.push_back(std::move(channel));
    return true;
}

std::shared_ptr<CCallSession> CChannelList::Remove(int channelId)
{
    CSemaphoreLock::Scoped lock(m_lock);
    const auto it = std::find_if(m_channels.begin(), m_channels.end(),
                                 [&](const auto& c) { return c->ChannelId() == channelId; });
    if (it == m_channels.end())
        return nullptr;
    std::shared_ptr<CCallSession> channel = std::move(*it);
    m_channels.erase(it);
    return channel;
}

std::shared_ptr<CCallSession> CChannelList::TakeOldest()
{
    CSemaphoreLock::Scoped lock(m_lock);
    if (m_channels.empty())
        return nullptr;
    std::shared_ptr<CCallSession> channel = std::move(m_channels.front());
    m_channels.erase(m_channels.begin());
    return channel;
}

int CChannelList::Count() const
{
    CSemaphoreLock::Scoped lock(m_lock);
    return static_cast<int>(m_channels.size());
}
