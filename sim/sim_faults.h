#pragma once

#include "sim_connection.h"
#include "sim_hostility.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

// The hostile modes' faults: the one armed for the connections that log in or open a channel
// (and how many more it strikes), and those waiting on a connection for the frame they cut.
// Not locked: CSimWorld uses it under its own lock.
class CSimFaults final
{
public:
    using Connection = std::shared_ptr<CSimConnection>;

    explicit CSimFaults(const SimFault& fault) { Arm(fault); }

    void Arm(const SimFault& fault);
    // The armed fault (its kind and moment) for a connection that logs in or, with channel,
    // opens a channel, when it is to be struck; counted against its times.
    std::optional<SimFault> Take(bool channel);
    // At (and after) the log-in the fault is queued now; in the middle of a list or a frame it
    // waits on the connection for the frame it cuts.
    void Strike(const Connection& c, bool channel, SimFaultKind kind, SimFaultMoment moment);
    // Whether a fault waiting on the connection cuts m; it is then queued with it, in its place.
    bool Cut(const Connection& c, const CSimConnection::Shared& m);
    bool AnyWaiting() const { return !m_waiting.empty(); }
    void Forget(int connectionId) { m_waiting.erase(connectionId); }
    // Faults queued on connections so far.
    std::uint64_t Struck() const { return m_struck; }

private:
    struct Waiting
    {
        SimFaultKind kind;
        SimFaultMoment moment;
        bool channel;
    };

    SimFault m_fault;
    int m_left = 0;                             // while m_fault.times > 0
    std::unordered_map<int, Waiting> m_waiting; // by connection id
    std::uint64_t m_struck = 0;
};
