#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

// A simulated web-site visitor: what the visitor record on the wire carries, plus what the
// visitor says when chatting.
struct SimVisitor
{
    std::int32_t id = 0;
    std::int32_t pageViews = 0;       // number1
    std::string page;                 // text1: page address
    std::string caption;              // text2: the page's title
    std::string referrer;             // text3
    std::string entered;              // "Y-M-D H:M:S" in UTC, no zero padding
    std::string address;              // text5: IPv4 address text
    std::int32_t groupKey = 0;        // number2: the site, so the console groups visitors by site
    std::string name;                 // the name shown in chat requests and as a call participant
    std::string question;             // the opening line of a chat
    std::vector<std::string> replies; // answers to the operator, in order
};

// A signed-in operator as the server sees it.
struct SimOperatorInfo
{
    std::int32_t id = 0;
    std::string user;
    std::string firstName;
    std::string lastName;
    std::int32_t status = 0;
    std::string host;
};

// A call (chat) as the server sees it.
struct SimCallInfo
{
    std::int32_t id = 0;
    std::int32_t visitorId = 0;
    std::vector<std::int32_t> members; // operators with channel 0 open, in joining order
    std::vector<std::int32_t> invited; // operators offered the call who have not joined yet
};

// One message a client sent, as kept for tests.
struct SimReceived
{
    enum class Kind
    {
        Unbound,
        Operator,
        Channel
    };
    Kind kind = Kind::Unbound;
    std::int32_t operatorId = 0; // 0 before log-in
    std::int32_t callId = 0;     // channels only
    std::int32_t code = 0;
    std::string payload;
};

struct SimStats
{
    std::uint64_t messagesIn = 0;
    std::uint64_t messagesOut = 0; // queued for sending, one per recipient
    std::uint64_t visitorsArrived = 0;
    std::uint64_t visitorsLeft = 0;
    std::uint64_t callsOffered = 0;
    std::uint64_t connectionsAccepted = 0;
    std::uint64_t connectionsClosed = 0;
    std::uint64_t connectionsDropped = 0; // ended for misbehaving (bad frames, not reading)
    std::uint64_t faultsStruck = 0;       // hostile modes: faults queued on a connection
    std::uint64_t floodEvents = 0;        // hostile modes: events the flood produced
};
