#pragma once

#include "client_socket.h"
#include "event_relay.h"
#include "incoming_call.h"
#include "session_values.h"

#include <QObject>
#include <QString>
#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <vector>

class COperatorSession;
class CWorkerPool;

// The console's one door to the operator session, both ways.
//
// Up: the session's thirteen callbacks become signals on the bridge's thread (the GUI thread).
// Each callback copies what it was given into values on the thread that raised it and posts it
// to the relay; the signals come in the order the session raised the callbacks. A list refresh
// carries the session's list as the receive thread left it, and a newer refresh supersedes one
// still waiting, so a flood of list replies does not pile up snapshots in the GUI queue.
//
// Down: the commands. Whatever blocks (connecting, disconnecting, which waits for the receive
// thread, and every send on the operator connection) runs on the application's worker pool;
// outcomes come back as signals, after the session events the command caused. Log-in and
// log-out run one after the other, in the order asked, so that a log-out never closes the
// connection of a log-in asked for after it.
//
// Detach (or destruction) removes the callbacks; it returns once no callback runs any more, and
// nothing is emitted after it.
class CSessionBridge final : public QObject
{
    Q_OBJECT

public:
    // Why LoggedOut comes, as the session says: the operator or the keep-alive ended it, the
    // connection ended under it, a command could not be sent, the session is going.
    static constexpr int kReasonLoggedOut = 1;
    static constexpr int kReasonConnectionLost = 2;
    static constexpr int kReasonSendFailed = 3;
    static constexpr int kReasonDestroyed = 4;

    // What a log-in uses, copied on the GUI thread: the job never reads the settings record,
    // which the options dialog may be editing meanwhile.
    struct Credentials
    {
        QString server;
        int port = 0;
        QString username;
        QString password;
    };

    // Keep-alive tries in one round, and the pause between two failed ones.
    struct KeepAlivePolicy
    {
        int tries = 4;
        std::chrono::milliseconds retryWait{2000};
    };

    // Neither is owned; both must outlive the bridge, and the pool must be waited for before the
    // session goes.
    CSessionBridge(COperatorSession& session, CWorkerPool& pool, QObject* parent = nullptr);
    ~CSessionBridge() override;

    void Detach();

    // --- Commands (GUI thread) ---------------------------------------------------------------
    // Logs in; false, starting nothing, while another log-in runs. A reconnection stays marked
    // as one until its ConnectFinished.
    bool Login(const Credentials& credentials, bool reconnect);
    bool IsConnecting() const { return m_connecting; }
    // Makes a log-in in progress give up at once (ConnectFinished with ConnectFailure::Cancelled).
    void CancelLogin();
    bool IsReconnecting() const { return m_connecting && m_reconnecting; }
    // Ends the connection (LoggedOut follows with reason); then runs done, if given, on the
    // GUI thread.
    void Logout(int reason, std::function<void()> done = {});
    // Asks for a status (1 online, 2 busy, 3 away); the confirmation arrives as StatusChanged,
    // a failure to send as StatusFailed.
    bool SetStatus(int status);
    // Sends one invitation per visitor, in order, stopping at the first that cannot be sent;
    // InviteFinished follows. False, starting nothing, while one is being sent or ids is empty.
    bool Invite(std::vector<int> visitorIds, const QString& text);
    bool IsInviting() const { return m_inviting; }
    // One invitation outside that guard (a visitor's popup); done gets the send's result on the
    // GUI thread, unless the bridge has gone by then.
    void InviteOne(int visitorId, const QString& text, std::function<void(int result)> done);
    // The operators list, then the visitors list; the answers arrive as refreshes.
    void RequestLists();
    // One round of keep-alive tries; KeepAliveFinished follows. False while a round runs.
    bool KeepAlive(KeepAlivePolicy policy);
    bool IsKeepingAlive() const { return m_keepingAlive; }

    // --- What the session knows (GUI thread; never blocks on the network) --------------------
    bool IsLoggedIn() const;
    int OperatorId() const;
    int ServerVersion() const;
    // The session's operators as they stand now.
    std::vector<CUserEntry> Operators() const;

signals:
    void LoggedIn();
    void LoggedOut(int reason);
    void StatusChanged(int status);
    void OperatorsRefreshed(const std::vector<CUserEntry>& operators);
    void OperatorAdded(const CUserEntry& entry);
    void OperatorRemoved(const CUserEntry& entry);
    void OperatorUpdated(const CUserEntry& entry);
    void VisitorsRefreshed(const std::vector<CVisitorEntry>& visitors);
    void VisitorAdded(const CVisitorEntry& entry);
    void VisitorRemoved(const CVisitorEntry& entry);
    void VisitorInvited(const CVisitorEntry& entry);
    void IncomingCall(const CIncomingCall& call);
    void OtherMessage(int first, int second);

    // failure tells what connecting failed on (None once connected: then result is the
    // server's answer).
    void ConnectFinished(int result, bool wasReconnect, ConnectFailure failure);
    void StatusFailed(int result);
    // result: the first failure, or the last send's result.
    void InviteFinished(int result);
    void KeepAliveFinished(bool alive);

private:
    void InstallCallbacks();
    // Runs job on the pool; its report, posted through the relay, comes after the events the
    // job caused.
    bool Run(std::function<void()> job);
    // Log-in and log-out, one at a time in the order asked.
    void RunInLane(std::function<void()> job);
    void LaneJobDone();

    COperatorSession& m_session;
    CWorkerPool& m_pool;
    std::shared_ptr<CEventRelay> m_relay;
    bool m_attached = false;

    std::deque<std::function<void()>> m_lane;
    bool m_laneBusy = false;
    bool m_connecting = false;
    bool m_reconnecting = false;
    bool m_inviting = false;
    bool m_keepingAlive = false;
};
