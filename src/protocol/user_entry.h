#pragma once

#include <cstdint>
#include <string>

// One user: an operator of the account (the session's operator list) or a participant of a
// call (the call's participant list). (id, type) is the key.
struct CUserEntry final
{
    std::int32_t id = 0;
    std::int32_t number = 0; // stored, not used
    std::int32_t type = 0;   // UserType: 2 operator, 1 visitor
    std::int32_t status =
        0;             // OperatorStatus: 1 online, 2 busy, 3 away; anything else is shown online
    std::string text1; // an operator's host; empty for a participant
    std::string text2; // first part of the name
    std::string text3; // second part of the name
};
