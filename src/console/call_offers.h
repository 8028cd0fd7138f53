#pragma once

#include "call_dlg.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <chrono>

class CAppSettings;
class CRingPlayer;
class CSessionBridge;
struct CIncomingCall;

// The offers of chat requests and call transfers open on the desktop: one CCallDlg for each
// offer the server makes, the ring they share, and where each appears (centred on the screen,
// every further one a step lower right, so that none hides another).
//
// Offers are top-level windows of their own, so that they stay up while the console is in the
// tray; CloseAll closes them all unanswered. The console calls it when it logs out or shuts down:
// an offer belongs to the signed-in connection it came on, and a chat window opened from it
// afterwards could only fail to join the call.
class CCallOffers final : public QObject
{
    Q_OBJECT

public:
    // settings must outlive this object; second is the length of one second of NotifyTimeout.
    CCallOffers(const CAppSettings& settings, std::chrono::milliseconds second,
                QObject* parent = nullptr);
    // Closes the offers still open.
    ~CCallOffers() override;

    // Offers what the session offers, until Stop; closes them all at every log-out. The bridge
    // must outlive this object.
    void Follow(const CSessionBridge& bridge);
    // The console is closing: every offer closes, and no new one opens.
    void Stop();

    // Opens the chat window of an accepted offer, for offers open now and later. Unset, Accept
    // only closes the offer.
    void SetChatWindowFactory(CCallDlg::ChatWindowFactory factory);
    CRingPlayer& Ring() const { return *m_ring; }

    // Shows the offer of the event, ringing, counting down and flashing; null for an event of
    // a kind the console does not offer.
    CCallDlg* Offer(const CIncomingCall& call);
    QList<CCallDlg*> Open() const;
    void CloseAll();

signals:
    void Offered(CCallDlg* offer);

private:
    void Place(CCallDlg* offer) const;

    const CAppSettings& m_settings;
    const std::chrono::milliseconds m_second;
    CRingPlayer* m_ring;
    CCallDlg::ChatWindowFactory m_openChat;
    QList<QPointer<CCallDlg>> m_offers;
    bool m_stopped = false;
};
