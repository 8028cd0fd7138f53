#pragma once

#include <optional>
#include <string_view>

// The simulated server's hostile modes: the ways a broken or malicious server can treat a
// client, so that the console's survival of each can be tested and tried by hand.

// What the server does to a connection when the fault strikes.
enum class SimFaultKind
{
    None,
    Garbage,         // bytes that are no frame at all
    OversizedLength, // a frame header announcing more than any client accepts
    StalledLength,   // a header announcing just under the client's cap; the body never comes
    Silence,         // nothing more is written; the connection stays open and keeps reading
    Close,           // an orderly close (FIN)
    Reset,           // an abortive close (RST: SO_LINGER 0)
};

// Where in the stream it strikes.
enum class SimFaultMoment
{
    AtLogin,    // in place of the log-in reply (channels: of the opening reply)
    AfterLogin, // between frames, right after the log-in reply (channels: the opening reply)
    MidList,    // halfway through the visitors list (channels: the participants list)
    MidFrame,   // halfway through the first frame after the log-in (opening) reply
};

// Which connections it strikes.
enum class SimTarget
{
    Operator, // operator session connections
    Channels, // call channels
    Both,
};

// A fault the server keeps armed for the connections that log in or open a channel.
struct SimFault
{
    SimFaultKind kind = SimFaultKind::None;
    SimFaultMoment moment = SimFaultMoment::AfterLogin;
    SimTarget target = SimTarget::Operator;
    // How many connections it strikes before the server behaves again; 0: every one.
    int times = 0;
};

// The names used on parlendo-sim's command line, e.g. "stalled-length", "mid-list", "both".
std::string_view SimFaultKindName(SimFaultKind kind);
std::optional<SimFaultKind> ParseSimFaultKind(std::string_view name);
std::optional<SimFaultMoment> ParseSimFaultMoment(std::string_view name);
std::optional<SimTarget> ParseSimTarget(std::string_view name);

inline bool Strikes(SimTarget target, bool channel)
{
    return target == SimTarget::Both || (target == SimTarget::Channels) == channel;
}
