#pragma once

#include "sim_records.h"

#include <chrono>
#include <cstdint>

class CSimRandom;

// Makes plausible visitors: a page on one of a few shop and support sites with its title, a
// referrer, an address from the documentation ranges (never a real host), a first name and a
// short script of what the visitor says in a chat about that site.
class CVisitorFactory final
{
public:
    explicit CVisitorFactory(CSimRandom& random) : m_random(random) {}

    SimVisitor Make(std::int32_t id, std::chrono::system_clock::time_point entered);

    // The sites' number: group keys run from 1 to SiteCount().
    static int SiteCount();

private:
    CSimRandom& m_random;
};
