#pragma once

#include "call_dlg.h"
#include "incoming_call.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QPointer>
#include <chrono>
#include <functional>

class CAppSettings;
class CRingPlayer;
class CSessionBridge;
class QTimer;

// The offers of chat requests and call transfers the server makes, from their arrival until
// they are answered, declined, time out or are withdrawn.
//
// One offer per call id: the same call offered again is the same offer. Each offer shows a
// CCallDlg of its own while a window is free; at most kMaxWindows are on the desktop at once,
// and the rest wait, counted (Waiting()), each getting its window as one frees up, and timing
// out on the same clock as if it had one. All share one ring. Windows stand in a column down one
// side of the screen, one below the other, on the side where they hide least of what is to be
// kept clear (the main window's lists).
//
// Offers belong to the connection they came on: every offer is withdrawn at log-out and when the
// console closes.
class CCallOffers final : public QObject
{
    Q_OBJECT

public:
    enum class End
    {
        Accepted,
        Declined,
        TimedOut,
        Withdrawn,
    };

    struct Offer
    {
        CIncomingCall call;
        QString notice;
        QDateTime arrived;
        QDateTime deadline;
        QPointer<CCallDlg> window;
    };

    static constexpr int kMaxWindows = 4;

    // settings must outlive this object; second is the length of one second of NotifyTimeout.
    CCallOffers(const CAppSettings& settings, std::chrono::milliseconds second,
                QObject* parent = nullptr);
    // Withdraws the offers still open.
    ~CCallOffers() override;

    // Offers what the session offers, until Stop; withdraws them all at every log-out. The
    // bridge must outlive this object.
    void Follow(const CSessionBridge& bridge);
    // The console is closing: every offer is withdrawn, and no new one is taken.
    void Stop();

    // The screen area the offers should not cover (global coordinates); none until set.
    void SetKeepClear(std::function<QRect()> keepClear);
    // Opens the chat window of an accepted offer.
    void SetChatWindowFactory(CCallDlg::ChatWindowFactory factory);
    CRingPlayer& Ring() const { return *m_ring; }

    // Takes the offer of the event; false for an event of a kind the console does not offer and
    // for a call already offered.
    bool Take(const CIncomingCall& call);
    // Accepts the offer that has waited longest; false when there is none.
    bool AcceptOldest();
    bool Accept(int callId);
    void WithdrawAll();

    // Every open offer, oldest first.
    const QList<Offer>& Offers() const { return m_offers; }
    // Offers that wait for a window.
    int Waiting() const;

signals:
    // An offer came, ended or got its window.
    void Changed();
    // A new offer, with its notice and how long it stays open.
    void Taken(const CIncomingCall& call, const QString& notice,
               std::chrono::milliseconds lifetime);
    void Ended(const CIncomingCall& call, CCallOffers::End end);

private:
    int IndexOf(int callId) const;
    void OpenWindows();
    void OpenWindow(Offer& offer);
    void Finish(int callId, End end);
    void OnTick();
    void Place(CCallDlg* window) const;

    const CAppSettings& m_settings;
    const std::chrono::milliseconds m_second;
    CRingPlayer* m_ring;
    CCallDlg::ChatWindowFactory m_openChat;
    std::function<QRect()> m_keepClear;
    QList<Offer> m_offers;
    // Times out the offers that wait for a window; those with one time out by themselves.
    QTimer* m_clock;
    bool m_stopped = false;
};
