#pragma once

#include <chrono>

// The console's waits. The defaults are the product's; tests shorten them so that no test
// waits for a minute's keep-alive or a two-second retry.
struct ConsoleTimings
{
    // Keep-alive period; each tick also advances the minutes shown on visitor rows.
    std::chrono::milliseconds keepAlivePeriod{60'000};
    // Pause between two failed keep-alive tries; four tries in all.
    std::chrono::milliseconds keepAliveRetryWait{2'000};
    // How long shutdown waits for worker threads once their connections are closed.
    std::chrono::milliseconds workerJoinBound{3'000};
    // One second of NotifyTimeout, the time an offer of a call stays up unanswered.
    std::chrono::milliseconds notifySecond{1'000};
    // The first wait before reconnecting after a lost connection; each failed attempt doubles
    // it, up to the keep-alive period.
    std::chrono::milliseconds reconnectFirstWait{3'000};
};
