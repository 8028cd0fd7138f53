#include "visitor_crowd.h"

#include "sim_random.h"

const SimVisitor& CVisitorCrowd::Arrive(std::chrono::system_clock::time_point entered)
{
    const std::int32_t id = m_nextId++;
    auto [it, inserted] = m_visitors.emplace(id, m_factory.Make(id, entered));
    AddFree(id);
    return it->second;
}

bool CVisitorCrowd::Leave(std::int32_t id)
{
    if (m_visitors.erase(id) == 0)
        return false;
    m_calls.erase(id);
    RemoveFree(id);
    return true;
}

const SimVisitor* CVisitorCrowd::Find(std::int32_t id) const
{
    const auto it = m_visitors.find(id);
    return it == m_visitors.end() ? nullptr : &it->second;
}

std::int32_t CVisitorCrowd::CallOf(std::int32_t id) const
{
    const auto it = m_calls.find(id);
    return it == m_calls.end() ? 0 : it->second;
}

void CVisitorCrowd::SetCall(std::int32_t id, std::int32_t callId)
{
    if (!Find(id))
        return;
    if (callId == 0) {
        m_calls.erase(id);
        AddFree(id);
    } else {
        m_calls[id] = callId;
        RemoveFree(id);
    }
}

std::int32_t CVisitorCrowd::PickFree(CSimRandom& random) const
{
    if (m_free.empty())
        return 0;
    return m_free[random.Below(static_cast<std::uint32_t>(m_free.size()))];
}

void CVisitorCrowd::AddFree(std::int32_t id)
{
    if (m_freeIndex.count(id))
        return;
    m_freeIndex[id] = m_free.size();
    m_free.push_back(id);
}

void CVisitorCrowd::RemoveFree(std::int32_t id)
{
    const auto it = m_freeIndex.find(id);
    if (it == m_freeIndex.end())
        return;
    const std::size_t at = it->second;
    m_freeIndex.erase(it);
    if (at + 1 != m_free.size()) {
        m_free[at] = m_free.back();
        m_freeIndex[m_free[at]] = at;
    }
    m_free.pop_back();
}
