#pragma once

#include "sim_records.h"
#include "visitor_factory.h"

#include <chrono>
#include <cstdint>
#include <map>
#include <unordered_map>
#include <vector>

class CSimRandom;

// The visitors now on the sites, in arrival order, and which of them are free to start a chat.
// Not locked: CSimWorld uses it under its own lock.
class CVisitorCrowd final
{
public:
    // Visitor ids start far above any operator id: the chat window tells participants apart from
    // the operator by id alone, so a visitor sharing the operator's id would vanish from it.
    static constexpr std::int32_t kFirstVisitorId = 1001;

    explicit CVisitorCrowd(CSimRandom& random) : m_factory(random) {}

    const SimVisitor& Arrive(std::chrono::system_clock::time_point entered);
    bool Leave(std::int32_t id);
    const SimVisitor* Find(std::int32_t id) const;
    std::size_t Count() const { return m_visitors.size(); }
    const std::map<std::int32_t, SimVisitor>& All() const { return m_visitors; }

    // The call the visitor is in, 0 for none.
    std::int32_t CallOf(std::int32_t id) const;
    void SetCall(std::int32_t id, std::int32_t callId);
    // A visitor not in a call, chosen with random, or 0 when there is none.
    std::int32_t PickFree(CSimRandom& random) const;

private:
    void AddFree(std::int32_t id);
    void RemoveFree(std::int32_t id);

    CVisitorFactory m_factory;
    std::int32_t m_nextId = kFirstVisitorId;
    std::map<std::int32_t, SimVisitor> m_visitors; // ids grow, so this is arrival order
    std::unordered_map<std::int32_t, std::int32_t> m_calls;
    // Free visitors for constant-time random picks: swap-removal, position by id.
    std::vector<std::int32_t> m_free;
    std::unordered_map<std::int32_t, std::size_t> m_freeIndex;
};
