#pragma once

#include "listen_socket.h"
#include "sim_connection.h"
#include "sim_options.h"
#include "sim_world.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// The simulated chat server: listens on loopback, runs one reader and one writer thread per
// connection, and (in real-time mode) a clock thread that moves the simulation on. The clock
// sleeps until the next task is due, so an idle server costs no processor time. Embedded by
// the console's demo mode, the end-to-end tests and the benchmarks; wrapped by parlendo-sim.
//
// Thread rules: Start, Stop and Advance from the owning thread; World() members from any thread
// (see CSimWorld). Stop joins every thread the server started; the destructor stops.
class CSimServer final
{
public:
    explicit CSimServer(SimOptions options);
    ~CSimServer();
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Binds, seats the opening crowd and starts the threads. Returns the bound port, or -1 with
    // Error() telling why. Only once per server.
    int Start();
    void Stop();

    // Manual clock only: moves simulated time on by step, running everything due meanwhile.
    // False in real-time mode, where the clock thread moves it.
    bool Advance(std::chrono::milliseconds step);

    CSimWorld& World() { return m_world; }
    const SimOptions& Options() const { return m_options; }
    int Port() const { return m_port; }
    const std::string& Error() const { return m_error; }
    // Connections accepted and not yet reaped (finished ones are reaped at the next accept).
    std::size_t ConnectionCount() const;

private:
    void AcceptLoop();
    void ClockLoop();
    void Reap();

    const SimOptions m_options;
    CSimWorld m_world;
    CListenSocket m_listener;
    int m_port = -1;
    std::string m_error;
    bool m_started = false;

    std::atomic<bool> m_stopping{false};
    std::thread m_acceptThread;
    std::thread m_clockThread;
    std::mutex m_clockMutex;
    std::condition_variable m_clockStop; // stop, or m_clockWoken
    bool m_clockWoken = false;           // a task was scheduled ahead of the clock's wait

    mutable std::mutex m_connectionsMutex;
    std::vector<std::shared_ptr<CSimConnection>> m_connections;
    int m_nextConnectionId = 1;
};
