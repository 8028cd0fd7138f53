#pragma once

#include "console_timings.h"
#include "worker_pool.h"

#include <QObject>
#include <QString>
#include <vector>

class COperatorSession;

// The console's network commands, each run on a worker thread of its own so that the window
// never waits on the network: connect (log-in), status change, invitation, and the keep-alive
// tries. Every result comes back as a signal on the window thread, after the session events
// the command caused (the session's callbacks are queued the same way, and earlier).
//
// Guards, kept on the window thread: one connect at a time (the session takes one log-in at a
// time), one invitation at a time (the invite list is not empty while one is being sent), one
// round of keep-alive tries at a time.
class CConsoleCommands final : public QObject
{
    Q_OBJECT

public:
    static constexpr int kKeepAliveTries = 4;

    // What a connect uses, copied on the window thread when it starts: the worker never reads
    // the settings record, which the window thread may be editing meanwhile.
    struct Credentials
    {
        QString server;
        int port = 0;
        QString username;
        QString password;
    };

    CConsoleCommands(COperatorSession& session, ConsoleTimings timings, QObject* parent = nullptr);
    // Runs Shutdown() if it has not run.
    ~CConsoleCommands() override;

    // Logs in on a worker. False, starting nothing, while another connect runs. A reconnection
    // stays marked as one until its ConnectFinished.
    bool StartConnect(const Credentials& credentials, bool reconnect);
    bool IsConnecting() const { return m_connecting; }
    bool IsReconnecting() const { return m_reconnecting; }

    // Asks the server for a status (1 online, 2 busy, 3 away); its confirmation arrives as a
    // session event, a failure to send as StatusFailed.
    bool StartStatus(int status);

    // Sends one invitation per visitor id, in order, stopping at the first that cannot be sent.
    // False, starting nothing, while a previous invitation is still being sent or ids is empty.
    bool StartInvite(std::vector<int> visitorIds, const QString& username);
    bool IsInviting() const { return !m_inviteList.empty(); }

    // Asks for the operators list, then the visitors list; the answers arrive as session
    // events.
    bool StartListRequests();

    // Up to kKeepAliveTries keep-alives with the retry wait between failures, then
    // KeepAliveFinished. False while a previous round still runs.
    bool StartKeepAlive();
    bool IsKeepingAlive() const { return m_keepingAlive; }

    // Ends every command: stops their waits and reports, closes the session's connection so
    // nothing stays blocked on it, then joins the workers within the join bound. Returns how
    // many did not end in time (a connect still resolving a host name): those still use this
    // object and the session, so the caller must then end the process without destroying
    // either. Idempotent.
    int Shutdown();

signals:
    void ConnectFinished(int result, bool wasReconnect);
    void StatusFailed(int result);
    // After every invitation of the list was sent or the first failure: result is that
    // failure, or the last send's result (0 for none).
    void InviteFinished(int result);
    void KeepAliveFinished(bool alive);

private:
    COperatorSession& m_session;
    const ConsoleTimings m_timings;
    CWorkerPool m_pool;
    std::vector<int> m_inviteList;
    bool m_connecting = false;
    bool m_reconnecting = false;
    bool m_keepingAlive = false;
    bool m_shutDown = false;
    int m_stragglers = 0;
};
