#include "session_bridge.h"

#include "qt_operator_session.h"

#include <utility>

namespace {

std::optional<QString> Copy(std::optional<std::string_view> text)
{
    if (!text)
        return std::nullopt;
    return QString::fromUtf8(text->data(), static_cast<qsizetype>(text->size()));
}

} // namespace

template <class F> void CSessionBridge::Post(F&& f)
{
    // Queued even when raised on the bridge's own thread (a Disconnect from the window): a
    // direct emission would overtake the events still queued from the receive thread.
    QMetaObject::invokeMethod(this, std::forward<F>(f), Qt::QueuedConnection);
}

CSessionBridge::CSessionBridge(COperatorSession& session, QObject* parent)
    : QObject(parent), m_session(session)
{
    COperatorSession::Callbacks c;
    c.OnLoggedIn = [this] { Post([this] { emit LoggedIn(); }); };
    c.OnLoggedOut = [this](int reason) { Post([this, reason] { emit LoggedOut(reason); }); };
    c.OnStatusChanged = [this](int status) {
        Post([this, status] { emit StatusChanged(status); });
    };
    // The refresh callbacks run on the receive thread, the only thread that changes the lists,
    // so the snapshot is exactly the list the server just sent.
    c.OnOperatorsRefreshed = [this] {
        Post([this, list = m_session.Operators().Snapshot()] { emit OperatorsRefreshed(list); });
    };
    c.OnOperatorAdded = [this](const CUserEntry& e) { Post([this, e] { emit OperatorAdded(e); }); };
    c.OnOperatorRemoved = [this](const CUserEntry& e) {
        Post([this, e] { emit OperatorRemoved(e); });
    };
    c.OnOperatorUpdated = [this](const CUserEntry& e) {
        Post([this, e] { emit OperatorUpdated(e); });
    };
    c.OnVisitorsRefreshed = [this] {
        Post([this, list = m_session.Visitors().Snapshot()] { emit VisitorsRefreshed(list); });
    };
    c.OnVisitorAdded = [this](const CVisitorEntry& e) {
        Post([this, e] { emit VisitorAdded(e); });
    };
    c.OnVisitorRemoved = [this](const CVisitorEntry& e) {
        Post([this, e] { emit VisitorRemoved(e); });
    };
    c.OnVisitorInvited = [this](const CVisitorEntry& e) {
        Post([this, e] { emit VisitorInvited(e); });
    };
    c.OnIncomingCall =
        [this](int callId, int number, int kind, std::optional<std::string_view> text1,
               std::optional<std::string_view> text2, std::optional<std::string_view> text3) {
            CIncomingCall call{callId, number, kind, Copy(text1), Copy(text2), Copy(text3)};
            Post([this, call = std::move(call)] { emit IncomingCall(call); });
        };
    c.OnOtherMessage = [this](int first, int second) {
        Post([this, first, second] { emit OtherMessage(first, second); });
    };
    m_session.SetCallbacks(std::move(c));
    m_attached = true;
}

CSessionBridge::~CSessionBridge()
{
    Detach();
}

void CSessionBridge::Detach()
{
    if (!m_attached)
        return;
    // Returns once no callback runs: nothing posts to this object after it.
    m_session.ClearCallbacks();
    m_attached = false;
}
