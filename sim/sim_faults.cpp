#include "sim_faults.h"

#include "message_codes.h"

void CSimFaults::Arm(const SimFault& fault)
{
    m_fault = fault;
    m_left = fault.times;
}

std::optional<SimFault> CSimFaults::Take(bool channel)
{
    if (m_fault.kind == SimFaultKind::None || !Strikes(m_fault.target, channel))
        return std::nullopt;
    if (m_fault.times > 0) {
        if (m_left <= 0)
            return std::nullopt;
        --m_left;
    }
    return m_fault;
}

void CSimFaults::Strike(const Connection& c, bool channel, SimFaultKind kind, SimFaultMoment moment)
{
    if (kind == SimFaultKind::None)
        return;
    if (moment == SimFaultMoment::AtLogin || moment == SimFaultMoment::AfterLogin) {
        if (c->PostFault(kind))
            ++m_struck;
        return;
    }
    m_waiting[c->Id()] = Waiting{kind, moment, channel};
}

bool CSimFaults::Cut(const Connection& c, const CSimConnection::Shared& m)
{
    const auto it = m_waiting.find(c->Id());
    if (it == m_waiting.end())
        return false;
    const Waiting waiting = it->second;
    if (waiting.moment == SimFaultMoment::MidList) {
        const int list = waiting.channel ? msg::kRequestUsers : msg::kRequestVisitors;
        if (m->Code() != msg::kReplyOk || m->GetIntField(msg::kFieldRequest) != list)
            return false;
    }
    m_waiting.erase(it);
    if (c->PostFault(waiting.kind, m))
        ++m_struck;
    return true;
}
