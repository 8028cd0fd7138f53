#include "desktop_notifier.h"

#include "bus_call.h"

#include <QDBusMessage>
#include <QVariantMap>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = kService;
const QString kAcceptAction = QStringLiteral("accept");

QDBusMessage Method(const QString& name, const QVariantList& args = {})
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, name);
    call.setArguments(args);
    return call;
}

// The hints every offer carries: urgent, so that it is shown over a full-screen window and does
// not vanish into a list unseen; filed as a chat message under the console's desktop entry.
QVariantMap OfferHints()
{
    return {{QStringLiteral("urgency"), QVariant::fromValue<uchar>(2)},
            {QStringLiteral("category"), QStringLiteral("im.received")},
            {QStringLiteral("desktop-entry"), QStringLiteral("net.parlendo.Console")}};
}

} // namespace

CDesktopNotifier::CDesktopNotifier(const QDBusConnection& bus, QObject* parent)
    : QObject(parent), m_bus(bus), m_service(new CBusNameWatch(bus, kService, this))
{
    connect(m_service, &CBusNameWatch::Changed, this, [this](CBusNameWatch::Presence presence) {
        emit AvailabilityChanged(presence == CBusNameWatch::Presence::Present);
    });
    // The signals are matched by the name's current owner, which the bus library follows.
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(OnActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(OnNotificationClosed(uint, uint)));
}

CDesktopNotifier::~CDesktopNotifier()
{
    for (const Notice& notice : std::as_const(m_notices))
        if (notice.id != 0)
            Close(notice.id);
}

bool CDesktopNotifier::IsAvailable() const
{
    return m_service->Current() == CBusNameWatch::Presence::Present;
}

void CDesktopNotifier::Show(int offerId, const QString& summary, const QString& body,
                            std::chrono::milliseconds lasting)
{
    Notice& notice = m_notices[offerId];
    notice.summary = summary;
    notice.body = body;
    notice.lasting = lasting;
    notice.withdrawn = false;
    if (notice.sending)
        notice.resend = true;
    else
        Send(offerId);
}

void CDesktopNotifier::Withdraw(int offerId)
{
    const auto it = m_notices.find(offerId);
    if (it == m_notices.end())
        return;
    if (it->sending) {
        it->withdrawn = true; // closed once the service has said which notification it is
        return;
    }
    Close(it->id);
    m_notices.erase(it);
}

void CDesktopNotifier::Send(int offerId)
{
    m_notices[offerId].sending = true;
    CallAsync(m_bus, Method(QStringLiteral("GetCapabilities")), this,
              [this, offerId](const QDBusMessage& reply) {
                  // A service that does not say what it can do gets a notification without
                  // extras; one that is not there fails the Notify that follows.
                  Notify(offerId, ReplyValue(reply).toStringList());
              });
}

void CDesktopNotifier::Notify(int offerId, const QStringList& capabilities)
{
    const auto it = m_notices.find(offerId);
    if (it->withdrawn) {
        m_notices.erase(it); // nothing was shown yet
        return;
    }
    it->resend = false;
    QStringList actions;
    if (capabilities.contains(QStringLiteral("actions")))
        actions = {kAcceptAction, tr("Accept")};
    // Names come from the chat server: where the service reads markup, they must not be read as
    // markup.
    const QString body =
        capabilities.contains(QStringLiteral("body-markup")) ? it->body.toHtmlEscaped() : it->body;
    const QDBusMessage call =
        Method(QStringLiteral("Notify"),
               {QStringLiteral("Parlendo"), it->id, QStringLiteral("net.parlendo.Console"),
                it->summary, body, actions, OfferHints(), static_cast<int>(it->lasting.count())});
    CallAsync(m_bus, call, this,
              [this, offerId](const QDBusMessage& reply) { OnSent(offerId, reply); });
}

void CDesktopNotifier::OnSent(int offerId, const QDBusMessage& reply)
{
    const auto it = m_notices.find(offerId);
    it->sending = false;
    const QVariant id = ReplyValue(reply);
    if (!id.isValid()) {
        const bool withdrawn = it->withdrawn;
        m_notices.erase(it);
        if (!withdrawn)
            emit ShowFailed(offerId, reply.errorMessage());
        return;
    }
    it->id = id.toUInt();
    if (it->withdrawn) {
        Close(it->id);
        m_notices.erase(it);
    } else if (it->resend) {
        Send(offerId);
    }
}

void CDesktopNotifier::Close(uint id)
{
    if (id != 0)
        m_bus.send(Method(QStringLiteral("CloseNotification"), {id}));
}

QHash<int, CDesktopNotifier::Notice>::iterator CDesktopNotifier::Find(uint id)
{
    for (auto it = m_notices.begin(); it != m_notices.end(); ++it)
        if (it->id == id && !it->withdrawn)
            return it;
    return m_notices.end();
}

void CDesktopNotifier::OnActionInvoked(uint id, const QString& action)
{
    const auto it = Find(id);
    if (id != 0 && it != m_notices.end() && action == kAcceptAction)
        emit AcceptInvoked(it.key());
}

void CDesktopNotifier::OnNotificationClosed(uint id, uint reason)
{
    const auto it = Find(id);
    if (id == 0 || it == m_notices.end())
        return;
    const int offerId = it.key();
    m_notices.erase(it);
    const bool known = reason >= 1 && reason <= 4;
    emit Closed(offerId, known ? static_cast<CloseReason>(reason) : CloseReason::Other);
}
