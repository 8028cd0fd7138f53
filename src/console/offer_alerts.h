#pragma once

#include "call_offers.h"

#include <QObject>
#include <QPointer>

class CDesktopNotifier;
class CMissedChats;
class CTrayIcon;

// What makes an offer hard to miss beyond its own window: a desktop notification for each
// offer (with an Accept action where the desktop offers actions), taken down when the offer
// ends; the tray's balloon (or the console's own notice) where no notification service answers;
// and every offer that closes unanswered, timed out or withdrawn, written into the missed chats.
class COfferAlerts final : public QObject
{
    Q_OBJECT

public:
    // None is owned; notifier and missed may be null (none on this desktop, a test).
    COfferAlerts(CCallOffers& offers, CTrayIcon& tray, CDesktopNotifier* notifier,
                 CMissedChats* missed, QObject* parent = nullptr);

private:
    void OnTaken(const CIncomingCall& call, const QString& notice,
                 std::chrono::milliseconds lifetime);
    void OnEnded(const CIncomingCall& call, CCallOffers::End end);

    CCallOffers& m_offers;
    CTrayIcon& m_tray;
    QPointer<CDesktopNotifier> m_notifier;
    QPointer<CMissedChats> m_missed;
};
