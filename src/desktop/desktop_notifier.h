#pragma once

#include "bus_name_watch.h"

#include <QDBusConnection>
#include <QHash>
#include <QObject>
#include <QString>
#include <chrono>

class QDBusMessage;

// The desktop notifications of chat offers, shown by the desktop's notification service
// (org.freedesktop.Notifications). One notification per offer, keyed by the offer's id (the
// console uses the call id); it carries an "Accept" button where the service can show actions,
// and it is taken down when the offer ends.
//
// Every call to the service is asynchronous, so a slow or stuck service never holds up the
// console. What the service can do is asked afresh for each notification, since another program
// may have taken the service over since the last one.
//
// Signals, all on this object's thread: AvailabilityChanged once the bus has said whether a
// service is there and after each change. For one offer, AcceptInvoked any number of times and
// then at most one of ShowFailed or Closed; nothing at all after Withdraw.
class CDesktopNotifier final : public QObject
{
    Q_OBJECT

public:
    // Why the service closed a notification, as the service says it.
    enum class CloseReason
    {
        Expired = 1,
        Dismissed = 2,
        Closed = 3,
        Other = 4
    };
    Q_ENUM(CloseReason)

    explicit CDesktopNotifier(const QDBusConnection& bus = QDBusConnection::sessionBus(),
                              QObject* parent = nullptr);
    // Withdraws the notifications still up.
    ~CDesktopNotifier() override;

    // False also while the bus has not answered yet.
    bool IsAvailable() const;

    // Shows the offer's notification, or replaces it when the offer has one already. summary and
    // body are plain text. lasting is how long the offer stays open: the service takes the
    // notification away by itself after it, should the console no longer be there to withdraw it
    // (zero: only when withdrawn).
    void Show(int offerId, const QString& summary, const QString& body,
              std::chrono::milliseconds lasting);
    // The offer has ended (answered, declined, timed out, withdrawn by the server): its
    // notification goes, also when the service has not yet said which one it is.
    void Withdraw(int offerId);

signals:
    void AvailabilityChanged(bool available);
    // The operator chose Accept in the offer's notification.
    void AcceptInvoked(int offerId);
    // The service took the notification away (the operator dismissed it, it expired); the offer
    // itself is still open.
    void Closed(int offerId, CDesktopNotifier::CloseReason reason);
    // The service could not be reached or refused the notification: the console should show
    // the offer another way.
    void ShowFailed(int offerId, const QString& error);

private slots:
    void OnActionInvoked(uint id, const QString& action);
    void OnNotificationClosed(uint id, uint reason);

private:
    struct Notice
    {
        QString summary;
        QString body;
        std::chrono::milliseconds lasting{0};
        uint id = 0;            // the service's number; 0 until it has answered
        bool sending = false;   // a question to the service is on its way
        bool resend = false;    // the texts changed while sending
        bool withdrawn = false; // the offer ended while sending
    };

    void Send(int offerId);
    void Notify(int offerId, const QStringList& capabilities);
    void OnSent(int offerId, const QDBusMessage& reply);
    void Close(uint id);
    QHash<int, Notice>::iterator Find(uint id);

    QDBusConnection m_bus;
    CBusNameWatch* m_service;
    QHash<int, Notice> m_notices;
};
