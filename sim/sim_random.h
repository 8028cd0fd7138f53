#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Seeded random source whose sequence is the same on every platform and standard library (the
// standard distributions are not), so a seed names one simulated day everywhere.
class CSimRandom final
{
public:
    explicit CSimRandom(std::uint64_t seed) : m_state(seed) {}

    std::uint64_t Next();
    // Uniform in [0, bound); 0 when bound is 0.
    std::uint32_t Below(std::uint32_t bound);
    // Uniform in [low, high].
    int Between(int low, int high);
    // Uniform in [0, 1).
    double Unit();
    bool Chance(double probability) { return Unit() < probability; }
    // Exponentially distributed with the given mean (the gaps of a Poisson process).
    double Exponential(double mean);

    template <typename T> const T& Pick(const std::vector<T>& items)
    {
        return items[Below(static_cast<std::uint32_t>(items.size()))];
    }

private:
    std::uint64_t m_state;
};
