#pragma once

#include "sim_world.h"

#include <string>

// The visitor's side of a chat: the question they came with once an operator joins, then one
// answer per line of the operators', each after a pause to think and typing notices, and a
// goodbye once the answers run out. Runs under CSimWorld's lock, on its state.
class CSimChatScript final
{
public:
    explicit CSimChatScript(CSimWorld& world) : m_world(world) {}
    CSimChatScript(const CSimChatScript&) = delete;
    CSimChatScript& operator=(const CSimChatScript&) = delete;

    // Schedules the visitor's next line, unless one is on its way or nothing is left to say.
    void NextLine(CSimWorld::Call& call);

private:
    void Line(std::int32_t callId, std::string text, bool last);

    CSimWorld& m_world;
};
