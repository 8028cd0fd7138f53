#pragma once

#include "archive_records.h"
#include "incoming_call.h"
#include "session_values.h"
#include "shortcut_table.h"
#include "typing_state.h"

#include <QHash>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class CActiveChats;
class CAppSettings;
class CCannedCompleter;
class CChatArchive;
class CChatRecord;
class CCallBridge;
class CFlatButton;
class CLayoutProfile;
class CLiveRegion;
class CNotifier;
class CTranscriptCtrl;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QTimer;
struct CChatLine;

// The window in which the operator talks with one caller: one per accepted call, modeless,
// independent of the console and of the other chat windows.
//
// It opens its call through its bridge, whose job runs on the application's pool, so it is on
// the screen at once, saying it is connecting. The call's events reach it through the bridge, in
// order, on the window thread; it shows who joins, leaves and types, sends chat lines, typing
// notices, links and images, invites another operator, and saves or prints the transcript. Close
// Chat ends the call and keeps the window with its transcript; the close box ends the window
// (and with it the call) and stores its placement, Escape ends it without. Its keyboard
// shortcuts are ChatShortcuts(); F1 lists them. The visitor's lines and the notices are announced
// to screen readers as they come.
//
// The window deletes itself when closed. Everything here runs on the window thread.
class CChatDlg final : public QWidget
{
    Q_OBJECT

public:
    // Whole seconds of the clock that times typing notices; never 0.
    using Clock = std::function<std::int64_t()>;

    static constexpr int kTypingTimerMs = 1000;

    // The window takes the bridge (made for the offered call) as its child; the rest is not
    // owned and must outlive the window.
    CChatDlg(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
             const CLayoutProfile& profile, CNotifier& notifier, QWidget* parent = nullptr);
    // Detaches from the call, which then closes in the background; no notice is written.
    ~CChatDlg() override;

    // Creates the window for an accepted call, lists it among the active chats (may be null)
    // and brings it up, a step lower right of the chat windows already open.
    static CChatDlg* Open(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
                          const CLayoutProfile& profile, CNotifier& notifier, CActiveChats* chats,
                          CChatArchive* archive);

    // Lists the window among the active chats, which it keeps up to date from then on, and
    // gives it the keys that go from chat to chat. chats must outlive the window.
    void SetActiveChats(CActiveChats* chats);
    // Keeps every line of the chat in the history as it is shown; not owned, may be null.
    void SetArchive(CChatArchive* archive);
    // The operator has already agreed that this chat ends (quitting the console): closing the
    // window ends a live chat without asking.
    void ConfirmEnd() { m_endConfirmed = true; }
    // Where the window opens: its stored place, cascade steps lower right.
    void RestorePlacement(int cascade);
    // What the list of keyboard shortcuts shows: every window's. Until set, this window's only.
    void SetShortcutTables(QList<CShortcutTable> tables) { m_shortcutTables = std::move(tables); }

    // The console's connection to the server was lost: said in a chat it ends or has just
    // ended, so the operator knows the visitor did not simply leave.
    void ConnectionLost();

    // Replaces the system clock (tests).
    void SetClock(Clock clock);
    int CallId() const;

signals:
    // The call is open and the window is in it: participants asked for, welcome message sent.
    void CallOpened();
    // The window asked for the operator's attention, not being the active window.
    void Flashed();

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class State
    {
        Connecting,
        Error,
        Connected,
        Closed,
    };

    void BuildControls();
    void ConnectBridge();
    void StartConnect();
    void OnOpened();
    void OnOpenFailed(int result);
    void EnableCommands();
    void EnterError(const QString& message);
    void EnterClosed();

    void OnChatData(const CChatLine& line);
    void OnCallClosed(int reason);
    void OnParticipantsRefreshed(const std::vector<CUserEntry>& participants);
    void OnParticipantAdded(const CUserEntry& participant);
    void OnParticipantRemoved(const CUserEntry& participant);
    void OnTransferred(const CUserEntry& invited);
    void OnUndelivered(int ticket);
    void OnTypingTimer();
    void UpdateTitle();

    void OnSend();
    void OnTransferChat();
    void OnSendLink();
    void OnSendImage();
    void OnSaveChat();
    void OnPrintChat();
    void OnCloseChat();
    void OnEscape();
    void AskToEnd();

    // Queues a chat line; on success the transcript shows it (as shown) under the operator's
    // name, and should it not be delivered, says so with what was shown.
    bool SendLine(const QString& text, LineKind kind, const QString& shown);
    // Asks for an address, then sends it as a link or an image.
    void SendAddress(LineKind kind);
    void AppendNotice(const QString& text);
    void Flash();
    // Whether the operator has the window in front of him: active, and its tab the one shown.
    bool IsLookedAt() const;
    QString VisitorName() const;

    CAppSettings& m_settings;
    const CIncomingCall m_offer;
    CCallBridge* m_bridge;
    const CLayoutProfile& m_profile;
    CNotifier& m_notifier;

    State m_state = State::Connecting;
    bool m_lostWhileConnecting = false;
    bool m_endedUnderIt = false; // the connection ended under the held call
    bool m_toldLost = false;
    // When the console's connection was lost while the call was held: a call channel that ends
    // soon after went with it.
    std::optional<std::chrono::steady_clock::time_point> m_sessionLostAt;
    // The participants as the call's events have told them, in the call's order.
    std::vector<CUserEntry> m_participants;
    // What the transcript says for each queued message should it not be delivered.
    QHash<int, QString> m_lostNotices;
    CTypingState m_typing;
    QPointer<CActiveChats> m_chats;
    std::unique_ptr<CChatRecord> m_record;
    Clock m_clock;
    bool m_closingByEscape = false;
    bool m_asking = false;
    bool m_endConfirmed = false;

    CFlatButton* m_transfer = nullptr;
    CFlatButton* m_sendLink = nullptr;
    CFlatButton* m_sendImage = nullptr;
    CTranscriptCtrl* m_transcript = nullptr;
    QPlainTextEdit* m_input = nullptr;
    CFlatButton* m_sendButton = nullptr;
    QLabel* m_statusLine = nullptr;
    CCannedCompleter* m_completer = nullptr;
    CLiveRegion* m_live = nullptr;
    QList<CShortcutTable> m_shortcutTables;
    QTimer* m_typingTimer = nullptr;
    std::unique_ptr<QPrinter> m_printer;
};
