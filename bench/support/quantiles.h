#pragma once

#include <algorithm>
#include <cstddef>
#include <utility>
#include <vector>

// Timing samples in order, for the figures the benchmarks report: the value below which the
// fraction q of them lie (nearest rank; q = 1 is the largest), 0 when there are none.
class CQuantiles final
{
public:
    explicit CQuantiles(std::vector<double> samples) : m_sorted(std::move(samples))
    {
        std::sort(m_sorted.begin(), m_sorted.end());
    }

    double At(double q) const
    {
        if (m_sorted.empty())
            return 0;
        const auto rank = static_cast<std::size_t>(q * static_cast<double>(m_sorted.size()));
        return m_sorted[std::min(m_sorted.size() - 1, rank)];
    }
    double Max() const { return At(1.0); }
    std::size_t Count() const { return m_sorted.size(); }

private:
    std::vector<double> m_sorted;
};
