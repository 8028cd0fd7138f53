#pragma once

#include "sim_hostility.h"

#include <cstddef>

class CSimWorld;

// The hostile modes' flood: events on top of the normal life at a steady rate of simulated
// time. On operator connections visitors arrive, are announced again and leave (keeping the
// crowd near its opening size) and operators change status; on call channels the visitors send
// lines. Runs under CSimWorld's lock, on its state.
class CSimFlood final
{
public:
    CSimFlood(CSimWorld& world, double perSecond, SimTarget target);
    CSimFlood(const CSimFlood&) = delete;
    CSimFlood& operator=(const CSimFlood&) = delete;

    // Changes the running flood; 0 stops it.
    void SetRate(double perSecond, SimTarget target);
    // Starts the flood the options asked for.
    void Start() { Schedule(); }
    // Events now, each as the running flood would send it (one per target).
    void Burst(int events, SimTarget target);

private:
    void Schedule();
    void Once(SimTarget target);
    void OperatorEvent();
    void ChannelLine();

    CSimWorld& m_world;
    double m_rate;
    SimTarget m_target;
    bool m_scheduled = false;
    double m_carry = 0; // fractions of an event left over from the last tick
    std::size_t m_turn = 0;
};
