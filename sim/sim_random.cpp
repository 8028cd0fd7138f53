#include "sim_random.h"

#include <cmath>

std::uint64_t CSimRandom::Next()
{
    // splitmix64: tiny, fast and well distributed; quality is ample for a simulation.
    std::uint64_t z = (m_state += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

std::uint32_t CSimRandom::Below(std::uint32_t bound)
{
    if (bound == 0)
        return 0;
    // Multiply-shift with rejection keeps every value equally likely.
    const std::uint64_t threshold = (0x1'0000'0000ULL - bound) % bound;
    for (;;) {
        const std::uint64_t product = (Next() >> 32) * bound;
        if ((product & 0xffffffffULL) >= threshold)
            return static_cast<std::uint32_t>(product >> 32);
    }
}

int CSimRandom::Between(int low, int high)
{
    if (high <= low)
        return low;
    return low + static_cast<int>(Below(static_cast<std::uint32_t>(high - low) + 1));
}

double CSimRandom::Unit()
{
    return static_cast<double>(Next() >> 11) * 0x1.0p-53;
}

double CSimRandom::Exponential(double mean)
{
    return -std::log1p(-Unit()) * mean;
}
