#pragma once

#include "incoming_call.h"

#include <QDialog>
#include <QPointer>
#include <chrono>
#include <functional>

class CAppSettings;
class CFlatButton;
class CRingPlayer;
class QLabel;
class QTimer;

// "Parlendo Call": the offer of one chat request or call transfer. It has a title bar without a
// close box or system menu, so the operator answers with Accept or Cancel (Enter and Escape).
//
// From its first showing it rings (while NotifySound is not 0, through the shared ring player),
// flashes until the operator turns to it, and counts down NotifyTimeout seconds, after which it
// closes unanswered. Accept closes it at once and then opens the chat window through the
// factory, exactly once however often it is activated; Cancel and the time-out only close it:
// declining sends nothing to the server. It shows without taking the focus, so that a key the
// operator is typing elsewhere cannot answer it.
//
// The dialog deletes itself once closed. Everything runs on the GUI thread.
class CCallDlg final : public QDialog
{
    Q_OBJECT

public:
    // Opens the chat window of the accepted call.
    using ChatWindowFactory = std::function<void(const CIncomingCall& call)>;

    // The result of an offer nobody answered (Accepted and Rejected as for any dialog).
    static constexpr int kTimedOut = 2;

    // Reads NotifySound now. ring may be null (silent) and need not outlive the dialog; the
    // offer stays up for lifetime unanswered.
    CCallDlg(const CAppSettings& settings, const QString& notice, const CIncomingCall& call,
             ChatWindowFactory openChat, CRingPlayer* ring, std::chrono::milliseconds lifetime,
             QWidget* parent = nullptr);

    // NotifyTimeout as a lifetime, second being the length of one of its seconds (tests shorten
    // it). A damaged value of 0 or less stands for the default.
    static std::chrono::milliseconds Lifetime(const CAppSettings& settings,
                                              std::chrono::milliseconds second);
    ~CCallDlg() override;

    const CIncomingCall& Call() const { return m_call; }

public slots:
    void accept() override;
    void reject() override;
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void BuildControls();

    CFlatButton* m_accept;
    CFlatButton* m_cancel;
    QLabel* m_message;
    const QString m_notice;
    const CIncomingCall m_call;
    const bool m_rings;
    const std::chrono::milliseconds m_lifetime;
    ChatWindowFactory m_openChat;
    QPointer<CRingPlayer> m_ring;
    QTimer* m_timer;
    bool m_opened = false;
    bool m_closed = false;
};
