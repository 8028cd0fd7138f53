#pragma once

#include "incoming_call.h"
#include "session_values.h"

#include <QObject>
#include <vector>

class COperatorSession;

// Carries the operator session's thirteen callbacks onto the thread the bridge lives on (the
// window thread). Each callback copies what it was given into values, on the thread that
// raised it, and queues the matching signal; the signals are emitted on the bridge's thread in
// the order the session raised the callbacks, whichever threads those were. So nothing the
// session hands out (entries valid only during a callback) outlives its call, and no network
// thread ever touches a widget.
//
// The refresh signals carry the session's list as it stood when the callback ran: a snapshot
// taken on the receive thread, in the session's order.
//
// The callbacks are installed by the constructor and removed by the destructor, which returns
// only once no callback runs any more; signals still queued then are dropped with the bridge.
class CSessionBridge final : public QObject
{
    Q_OBJECT

public:
    explicit CSessionBridge(COperatorSession& session, QObject* parent = nullptr);
    ~CSessionBridge() override;

    COperatorSession& Session() const { return m_session; }
    // Removes the callbacks ahead of destruction (shutdown does this before destroying the
    // session). Idempotent.
    void Detach();

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

private:
    // Queues f to run on the bridge's thread, after everything queued before it.
    template <class F> void Post(F&& f);

    COperatorSession& m_session;
    bool m_attached = false;
};
