#pragma once

// The simulated server of the operator's day, and what it received: shared by the day's steps,
// the screenshot tool and the tests that drive bridges and windows against it. Qt Core only.

#include "sim_server.h"
#include "socket_message.h"

#include <QStringList>
#include <chrono>
#include <string>

namespace day {

inline constexpr char kUser[] = "ann";
inline constexpr char kPassword[] = "pw-ann";
inline constexpr char kColleague[] = "bob";
inline constexpr char kColleaguePassword[] = "pw-bob";

// Ann and her colleague Bob, five visitors and nobody else coming: the clock is manual, so
// everything that happens is what the caller makes happen.
inline SimOptions ServerOptions()
{
    using namespace std::chrono_literals;
    SimOptions o;
    o.accounts = {{kUser, kPassword, "Ann", "Lee"},
                  {kColleague, kColleaguePassword, "Bob", "Stone"}};
    o.initialVisitors = 5;
    o.arrivalPerMinute = 0;
    o.chatPerMinute = 0;
    o.inviteAcceptChance = 0;
    o.seed = 11;
    o.realTime = false;
    o.ioTimeout = 2s;
    return o;
}

// Every message of that code the server received, its fields joined by '|': from operator
// connections for callId 0, else from that call's channels.
inline QStringList ServerReceived(const CSimWorld& world, int code, int callId = 0)
{
    QStringList got;
    for (const SimReceived& r : world.Received()) {
        if (r.code != code || r.callId != callId)
            continue;
        CSocketMessage m;
        m.Assign(r.payload);
        QStringList fields;
        for (int f = 1; f <= m.FieldCount(); ++f)
            fields << QString::fromStdString(std::string(m.FieldView(f)));
        got << fields.join(QLatin1Char('|'));
    }
    return got;
}

// The id the server gave that account; 0 while it is not signed in.
inline int SignedInId(const CSimWorld& world, const std::string& user = kUser)
{
    for (const SimOperatorInfo& op : world.Operators())
        if (op.user == user)
            return op.id;
    return 0;
}

} // namespace day
