#pragma once

#include "sim_hostility.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// One operator account the simulated server accepts.
struct SimAccount
{
    std::string user;
    std::string password;
    std::string firstName;
    std::string lastName;
};

// How the simulated server is set up. The defaults make a small, lively demo.
struct SimOptions
{
    // Only loopback addresses are accepted: the simulated server is never reachable from outside.
    std::string host = "127.0.0.1";
    std::uint16_t port = 0; // 0: any free port, reported by CSimServer::Start

    // Empty: the account "demo" / "demo" is accepted.
    std::vector<SimAccount> accounts;

    int initialVisitors = 12;      // visitors already browsing when the server starts
    double arrivalPerMinute = 4.0; // new visitors; each stays long enough to keep the crowd steady
    double chatPerMinute = 1.0;    // chat requests from visitors to online operators
    double inviteAcceptChance = 0.5; // how often an invited visitor starts a chat
    std::uint64_t seed = 1;

    // Field 3 of the log-in reply; a value above the console's own version offers a download.
    int version = 15;

    // Real time for the demo and the load generator; a manual clock, moved only by
    // CSimServer::Advance, for tests.
    bool realTime = true;
    // Wall-clock time at simulated time zero; unset: the moment Start() runs. Tests fix it so
    // that visitor time stamps are reproducible.
    std::optional<std::chrono::system_clock::time_point> startTime;

    // Idle wait of each connection's reader and bound of every socket wait. The reader loops on
    // idle, so this only bounds how long a half-sent frame or a stalled peer may hold a
    // connection.
    std::chrono::milliseconds ioTimeout{20'000};
    // Messages waiting for one peer beyond this mean the peer stopped reading: it is dropped.
    std::size_t maxQueuedMessages = 200'000;
    int maxConnections = 256;
    // How many client messages CSimServer::Received() keeps (oldest dropped first).
    std::size_t traceLimit = 2'000;

    // Hostile modes, off by default. A fault armed for the connections that log in or open a
    // channel (CSimWorld::ArmFault changes it later).
    SimFault fault;
    // A flood of events on top of the normal life, per second of simulated time: visitors
    // arriving, being announced again and leaving, and operators changing status on operator
    // connections; visitor lines on call channels. The flood keeps the crowd near
    // initialVisitors.
    double floodPerSecond = 0;
    SimTarget floodTarget = SimTarget::Operator;
};
