#include "sim_flood.h"

#include "message_codes.h"
#include "sim_messages.h"
#include "sim_world.h"

#include <algorithm>
#include <string>
#include <vector>

namespace {

// The flood sends its events in bursts this far apart.
constexpr std::chrono::milliseconds kTick{10};
// Of the flood's operator-connection events: operators changing status, and visitors announced
// again; the rest are arrivals and departures that keep the crowd near its size.
constexpr double kStatusShare = 0.15;
constexpr double kUpdateShare = 0.15;

} // namespace

CSimFlood::CSimFlood(CSimWorld& world, double perSecond, SimTarget target)
    : m_world(world), m_rate(perSecond), m_target(target)
{
}

void CSimFlood::SetRate(double perSecond, SimTarget target)
{
    m_rate = perSecond;
    m_target = target;
    Schedule();
}

void CSimFlood::Burst(int events, SimTarget target)
{
    for (int i = 0; i < events; ++i)
        Once(target);
}

void CSimFlood::Schedule()
{
    if (m_scheduled || m_rate <= 0)
        return;
    m_scheduled = true;
    m_world.m_scheduler.After(kTick, [this] {
        m_scheduled = false;
        if (m_rate <= 0)
            return;
        m_carry += m_rate * std::chrono::duration<double>(kTick).count();
        const auto burst = static_cast<std::int64_t>(m_carry);
        m_carry -= static_cast<double>(burst);
        for (std::int64_t i = 0; i < burst; ++i)
            Once(m_target);
        Schedule();
    });
}

void CSimFlood::Once(SimTarget target)
{
    if (Strikes(target, false))
        OperatorEvent();
    if (Strikes(target, true))
        ChannelLine();
}

void CSimFlood::OperatorEvent()
{
    CSimWorld& w = m_world;
    ++w.m_stats.floodEvents;
    if (!w.m_operators.empty() && w.m_random.Chance(kStatusShare)) {
        auto it = w.m_operators.begin();
        std::advance(it, static_cast<std::ptrdiff_t>(m_turn++ % w.m_operators.size()));
        SimOperatorInfo& info = it->second.info;
        info.status = info.status % OperatorStatus::kAway + 1; // online, busy, away, online...
        // Every operator hears it, the operator itself too: as if it had changed elsewhere.
        w.Broadcast(simmsg::OperatorStatus(info.id, info.status));
        return;
    }
    // Arrivals outweigh departures below the crowd's size and the other way round above it.
    const auto size = static_cast<std::size_t>(std::max(w.m_options.initialVisitors, 0));
    const double arrive = w.m_crowd.Count() < size ? 0.6 : 0.25;
    const double roll = w.m_random.Unit();
    const std::int32_t someone = roll < arrive ? 0 : w.m_crowd.PickFree(w.m_random);
    if (!someone)
        w.VisitorArrives(w.m_startTime + w.m_scheduler.Now());
    else if (roll < arrive + kUpdateShare)
        w.Broadcast(simmsg::VisitorEntered(*w.m_crowd.Find(someone)));
    else
        w.VisitorLeaves(someone);
}

void CSimFlood::ChannelLine()
{
    CSimWorld& w = m_world;
    std::vector<const CSimWorld::Call*> busy;
    for (const auto& [id, call] : w.m_calls)
        if (!call.members.empty() && w.m_crowd.Find(call.visitorId))
            busy.push_back(&call);
    if (busy.empty())
        return;
    ++w.m_stats.floodEvents;
    const CSimWorld::Call& call = *busy[m_turn++ % busy.size()];
    const SimVisitor& visitor = *w.m_crowd.Find(call.visitorId);
    w.SendToMembers(call, simmsg::Chat(msg::chat::kLine, visitor.name,
                                       "flood " + std::to_string(w.m_stats.floodEvents)));
}
