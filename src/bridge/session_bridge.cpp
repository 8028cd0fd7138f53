#include "session_bridge.h"

#include "operator_session.h"
#include "worker_pool.h"

#include <QTimer>
#include <string>
#include <utility>

static_assert(CSessionBridge::kReasonLoggedOut == COperatorSession::kReasonLoggedOut &&
              CSessionBridge::kReasonConnectionLost == COperatorSession::kReasonConnectionLost &&
              CSessionBridge::kReasonSendFailed == COperatorSession::kReasonSendFailed &&
              CSessionBridge::kReasonDestroyed == COperatorSession::kReasonDestroyed);

namespace {

std::optional<QString> Copy(std::optional<std::string_view> text)
{
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

} // namespace

CSessionBridge::CSessionBridge(COperatorSession& session, CWorkerPool& pool, QObject* parent)
    : QObject(parent), m_session(session), m_pool(pool), m_relay(CEventRelay::Create(this))
{
    InstallCallbacks();
}

CSessionBridge::~CSessionBridge()
{
    Detach();
}

void CSessionBridge::InstallCallbacks()
{
    // The callbacks hold the relay, not the bridge: a callback running while the bridge goes
    // posts to a detached relay and nothing happens.
    const std::shared_ptr<CEventRelay> r = m_relay;
    using Topic = CEventRelay::Topic;
    COperatorSession::Callbacks c;
    c.OnLoggedIn = [r, this] { r->Post([this] { emit LoggedIn(); }); };
    c.OnLoggedOut = [r, this](int reason) { r->Post([this, reason] { emit LoggedOut(reason); }); };
    c.OnStatusChanged = [r, this](int status) {
        r->Post([this, status] { emit StatusChanged(status); });
    };
    // The refresh callbacks run on the receive thread, the only thread that changes the lists,
    // so the snapshot is exactly the list the server just sent.
    c.OnOperatorsRefreshed = [r, this] {
        r->Post([this, list = m_session.Operators().Snapshot()] { emit OperatorsRefreshed(list); },
                Topic::Operators);
    };
    c.OnOperatorAdded = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit OperatorAdded(e); });
    };
    c.OnOperatorRemoved = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit OperatorRemoved(e); });
    };
    c.OnOperatorUpdated = [r, this](const CUserEntry& e) {
        r->Post([this, e] { emit OperatorUpdated(e); });
    };
    c.OnVisitorsRefreshed = [r, this] {
        r->Post([this, list = m_session.Visitors().Snapshot()] { emit VisitorsRefreshed(list); },
                Topic::Visitors);
    };
    c.OnVisitorAdded = [r, this](const CVisitorEntry& e) {
        r->Post([this, e] { emit VisitorAdded(e); });
    };
    c.OnVisitorRemoved = [r, this](const CVisitorEntry& e) {
        r->Post([this, e] { emit VisitorRemoved(e); });
    };
    c.OnVisitorInvited = [r, this](const CVisitorEntry& e) {
        r->Post([this, e] { emit VisitorInvited(e); });
    };
    c.OnIncomingCall = [r, this](int callId, int number, int kind,
                                 std::optional<std::string_view> text1,
                                 std::optional<std::string_view> text2,
                                 std::optional<std::string_view> text3) {
        CIncomingCall call{callId, number, kind, Copy(text1), Copy(text2), Copy(text3)};
        r->Post([this, call = std::move(call)] { emit IncomingCall(call); });
    };
    c.OnOtherMessage = [r, this](int first, int second) {
        r->Post([this, first, second] { emit OtherMessage(first, second); });
    };
    m_session.SetCallbacks(std::move(c));
    m_attached = true;
}

void CSessionBridge::Detach()
{
    m_relay->Detach();
    if (!m_attached)
        return;
    // Returns once no callback runs: nothing posts to the relay after it.
    m_session.ClearCallbacks();
    m_attached = false;
}

bool CSessionBridge::Run(std::function<void()> job)
{
    return m_relay->IsAttached() && m_pool.Start(std::move(job));
}

// --- Log-in and log-out ---------------------------------------------------------------------

void CSessionBridge::RunInLane(std::function<void()> job)
{
    m_lane.push_back(std::move(job));
    if (m_laneBusy)
        return;
    m_laneBusy = true;
    LaneJobDone();
}

void CSessionBridge::LaneJobDone()
{
    while (!m_lane.empty()) {
        std::function<void()> job = std::move(m_lane.front());
        m_lane.pop_front();
        const std::shared_ptr<CEventRelay> relay = m_relay;
        // The next job is started from the GUI thread once this one has reported.
        if (Run([job = std::move(job), relay, this] {
                job();
                relay->Post([this] { LaneJobDone(); });
            }))
            return;
    }
    m_laneBusy = false;
}

bool CSessionBridge::Login(const Credentials& credentials, bool reconnect)
{
    if (m_connecting || !m_relay->IsAttached())
        return false;
    m_connecting = true;
    m_reconnecting = reconnect;
    const std::shared_ptr<CEventRelay> relay = m_relay;
    RunInLane([this, relay, host = credentials.server.toStdString(),
               port = static_cast<std::uint16_t>(credentials.port),
               user = credentials.username.toStdString(),
               password = credentials.password.toStdString()] {
        const int result = m_session.Login(host, port, user, password);
        const ConnectFailure failure = m_session.LastConnectFailure();
        relay->Post([this, result, failure] {
            const bool wasReconnect = m_reconnecting;
            m_connecting = false;
            m_reconnecting = false;
            emit ConnectFinished(result, wasReconnect, failure);
        });
    });
    return true;
}

void CSessionBridge::CancelLogin()
{
    if (!m_connecting)
        return;
    // Not on the pool: the job to cut short is the one running there. The job may not have
    // reached the session yet, which then has nothing to cut: asked again until it has.
    if (!m_session.CancelLogin())
        QTimer::singleShot(10, this, &CSessionBridge::CancelLogin);
}

void CSessionBridge::Logout(int reason, std::function<void()> done)
{
    const std::shared_ptr<CEventRelay> relay = m_relay;
    RunInLane([this, relay, reason, done = std::move(done)]() mutable {
        m_session.Disconnect(reason);
        if (done)
            relay->Post(std::move(done));
    });
}

// --- Commands on the operator connection ----------------------------------------------------

bool CSessionBridge::SetStatus(int status)
{
    const std::shared_ptr<CEventRelay> relay = m_relay;
    return Run([this, relay, status] {
        const int result = m_session.SetStatus(status);
        if (result < 0)
            relay->Post([this, result] { emit StatusFailed(result); });
    });
}

bool CSessionBridge::Invite(std::vector<int> visitorIds, const QString& text)
{
    if (m_inviting || visitorIds.empty())
        return false;
    const std::shared_ptr<CEventRelay> relay = m_relay;
    m_inviting = Run([this, relay, ids = std::move(visitorIds), text = text.toStdString()] {
        int result = 0;
        for (const int id : ids) {
            result = m_session.InviteVisitor(id, text);
            if (result < 0)
                break;
        }
        relay->Post([this, result] {
            m_inviting = false; // ends the guard
            emit InviteFinished(result);
        });
    });
    return m_inviting;
}

void CSessionBridge::InviteOne(int visitorId, const QString& text,
                               std::function<void(int result)> done)
{
    const std::shared_ptr<CEventRelay> relay = m_relay;
    const bool started =
        Run([this, relay, visitorId, text = text.toStdString(), done = std::move(done)] {
            const int result = m_session.InviteVisitor(visitorId, text);
            if (done)
                relay->Post([done, result] { done(result); });
        });
    (void)started; // stopped at shutdown: nobody waits for the answer any more
}

void CSessionBridge::RequestLists()
{
    Run([this] {
        // A failed send has ended the session already; a second request would end it again.
        if (m_session.RequestOperators() >= 0)
            m_session.RequestVisitors();
    });
}

bool CSessionBridge::KeepAlive(KeepAlivePolicy policy)
{
    if (m_keepingAlive)
        return false;
    const std::shared_ptr<CEventRelay> relay = m_relay;
    m_keepingAlive = Run([this, relay, policy] {
        bool alive = false;
        for (int attempt = 1; attempt <= policy.tries; ++attempt) {
            if (m_session.KeepAlive() >= 0) {
                alive = true;
                break;
            }
            // Cut short at shutdown, when nobody waits for the answer any more.
            if (attempt < policy.tries && !m_pool.Sleep(policy.retryWait))
                return;
        }
        relay->Post([this, alive] {
            m_keepingAlive = false;
            emit KeepAliveFinished(alive);
        });
    });
    return m_keepingAlive;
}

// --- Queries --------------------------------------------------------------------------------

bool CSessionBridge::IsLoggedIn() const
{
    return m_session.GetStatus() >= 1;
}

int CSessionBridge::OperatorId() const
{
    return m_session.OperatorId();
}

int CSessionBridge::ServerVersion() const
{
    return m_session.ServerVersion();
}

std::vector<CUserEntry> CSessionBridge::Operators() const
{
    return m_session.Operators().Snapshot();
}
