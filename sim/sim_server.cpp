#include "sim_server.h"

#include <algorithm>
#include <unistd.h>

namespace {

// The longest the real-time clock sleeps with nothing due: a safety net, since every task
// scheduled ahead of its wait wakes it.
constexpr std::chrono::milliseconds kClockIdleWait{10'000};
// The accept loop waits for a connection or Stop's wake-up, without a time-out.
constexpr std::chrono::milliseconds kAcceptForever{-1};

std::chrono::system_clock::time_point StartTimeOf(const SimOptions& options)
{
    return options.startTime.value_or(std::chrono::system_clock::now());
}

} // namespace

CSimServer::CSimServer(SimOptions options)
    : m_options(std::move(options)), m_world(m_options, StartTimeOf(m_options))
{
}

CSimServer::~CSimServer()
{
    Stop();
}

int CSimServer::Start()
{
    if (m_started) {
        m_error = "already started";
        return -1;
    }
    m_port = m_listener.Listen(m_options.host, m_options.port);
    if (m_port < 0) {
        m_error = m_listener.Error();
        return -1;
    }
    m_started = true;
    if (m_options.realTime) {
        m_world.SetEarliestChanged([this] {
            {
                std::lock_guard lock(m_clockMutex);
                m_clockWoken = true;
            }
            m_clockStop.notify_all();
        });
    }
    m_world.Populate();
    m_acceptThread = std::thread([this] { AcceptLoop(); });
    if (m_options.realTime)
        m_clockThread = std::thread([this] { ClockLoop(); });
    return m_port;
}

void CSimServer::Stop()
{
    if (!m_started || m_stopping.exchange(true))
        return;
    m_listener.Wake();
    if (m_acceptThread.joinable())
        m_acceptThread.join();
    {
        std::lock_guard lock(m_clockMutex);
    }
    m_clockStop.notify_all();
    if (m_clockThread.joinable())
        m_clockThread.join();

    std::vector<std::shared_ptr<CSimConnection>> connections;
    {
        std::lock_guard lock(m_connectionsMutex);
        connections.swap(m_connections);
    }
    for (const auto& c : connections)
        c->Close();
    for (const auto& c : connections)
        c->Join();
    m_listener.Close();
}

bool CSimServer::Advance(std::chrono::milliseconds step)
{
    if (m_options.realTime)
        return false;
    m_world.AdvanceTo(m_world.Now() + step);
    return true;
}

std::size_t CSimServer::ConnectionCount() const
{
    std::lock_guard lock(m_connectionsMutex);
    return m_connections.size();
}

void CSimServer::AcceptLoop()
{
    while (!m_stopping) {
        std::string peer;
        const int fd = m_listener.Accept(kAcceptForever, peer);
        if (fd < 0)
            continue;
        // Finished connections are joined as the next one comes (and by Stop), not on a timer,
        // so that an idle server never wakes up.
        Reap();
        std::lock_guard lock(m_connectionsMutex);
        if (static_cast<int>(m_connections.size()) >= m_options.maxConnections) {
            ::close(fd);
            m_world.CountAccepted(true);
            continue;
        }
        m_world.CountAccepted(false);
        CSimWorld* world = &m_world;
        CSimConnection::Callbacks callbacks{
            [world](CSimConnection& c, const CSocketMessage& m) {
                world->OnMessage(c.shared_from_this(), m);
            },
            [world](CSimConnection& c) { world->OnClosed(c.shared_from_this()); }};
        auto connection =
            std::make_shared<CSimConnection>(m_nextConnectionId++, fd, peer, m_options.ioTimeout,
                                             m_options.maxQueuedMessages, std::move(callbacks));
        m_connections.push_back(connection);
        connection->Start();
    }
}

void CSimServer::Reap()
{
    std::vector<std::shared_ptr<CSimConnection>> finished;
    {
        std::lock_guard lock(m_connectionsMutex);
        std::erase_if(m_connections, [&](const std::shared_ptr<CSimConnection>& c) {
            if (!c->Finished())
                return false;
            finished.push_back(c);
            return true;
        });
    }
    for (const auto& c : finished)
        c->Join();
}

void CSimServer::ClockLoop()
{
    const auto origin = std::chrono::steady_clock::now();
    const auto now = [origin] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - origin);
    };
    // Sleeps until the earliest task is due. A task scheduled meanwhile ahead of it (a client's
    // request, a step from a test) wakes the clock to look again; the flag is reset before each
    // look, so a wake-up between the look and the wait is not lost.
    std::unique_lock lock(m_clockMutex);
    while (!m_stopping) {
        m_clockWoken = false;
        lock.unlock();
        m_world.AdvanceTo(now());
        const auto next = m_world.NextDue();
        lock.lock();
        if (m_clockWoken)
            continue;
        const auto wait =
            next ? std::clamp(*next - now(), std::chrono::milliseconds(0), kClockIdleWait)
                 : kClockIdleWait;
        m_clockStop.wait_for(lock, wait, [this] { return m_stopping.load() || m_clockWoken; });
    }
}
