#pragma once

#include "chat_connector.h"
#include "outbox.h"
#include "qt_operator_session.h"
#include "typing_state.h"

#include <QList>
#include <QPointer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class CAppSettings;
class CCallBridge;
class CFlatButton;
class CGradientLabel;
class CLayoutProfile;
class CNotifier;
class CTranscriptCtrl;
class QFrame;
class QLabel;
class QPlainTextEdit;
class QPrinter;
class QTimer;
class QTreeView;
struct CChatLine;

// The window in which the operator talks with one caller: one per accepted call, modeless,
// independent of the console and of the other chat windows.
//
// It opens its call on a connection of its own from a worker thread (CChatConnector), so it is
// on the screen at once, saying it is connecting. The call's events reach it through its
// bridge, in order, on the window thread; it exchanges chat lines, shows who joins, leaves and
// types, sends typing notices, links and images, invites another operator, and saves or prints
// the transcript. Close Chat ends the call and keeps the window with its transcript; the close
// box ends the window (and with it the call) and stores its placement, Escape ends it without.
//
// The window deletes itself when closed. It adds itself to the chat window list when created
// and takes itself out when destroyed. Everything here runs on the window thread.
//
// The canned-answers panel beside the transcript is laid out and toggled here; CCannedPanel
// fills its tree and puts a chosen answer into the input box.
class CChatDlg final : public QWidget
{
    Q_OBJECT

public:
    // Whole seconds of the clock that times typing notices; never 0.
    using Clock = std::function<std::int64_t()>;

    static constexpr int kTypingTimerMs = 1000;
    static constexpr int kCannedWidth = 155;

    // None of the references is owned; all must outlive the window.
    CChatDlg(CAppSettings& settings, int callId, QList<QPointer<QWidget>>& chatWindows,
             COperatorSession& session, const CLayoutProfile& profile, CNotifier& notifier,
             QWidget* parent = nullptr);
    // Takes the window out of the list; when it holds its call, detaches from it and closes it
    // (no notice is written); a call that opens after this is closed by the connect thread.
    ~CChatDlg() override;

    // Creates the window for an accepted call and brings it up.
    static CChatDlg* Open(CAppSettings& settings, int callId, QList<QPointer<QWidget>>& chatWindows,
                          COperatorSession& session, const CLayoutProfile& profile,
                          CNotifier& notifier);

    // Replaces the system clock (tests).
    void SetClock(Clock clock);

    int CallId() const { return m_callId; }
    // Whether the window is in its call: opened, and not closed from either side since.
    bool HoldsCall() const { return m_call != nullptr; }
    QTreeView* CannedTree() const { return m_cannedTree; }
    QPlainTextEdit* InputBox() const { return m_input; }
    CTranscriptCtrl* Transcript() const { return m_transcript; }
    QLabel* StatusLine() const { return m_statusLine; }
    bool IsCannedShown() const { return m_cannedShown; }

    // The window's commands.
    void OnSend();
    void OnTransferChat();
    void OnSendLink();
    void OnSendImage();
    void OnSaveChat();
    void OnPrintChat();
    void OnCloseChat();
    void OnCannedAnswers();
    void OnHideCanned();
    // Writes the transcript to path as rich text, whole or not at all; a failure is told to the
    // operator. What OnSaveChat does with the chosen file.
    bool SaveChatTo(const QString& path);
    // Places the controls for the window's size and the panel's state.
    void RecalcLayout();
    // The title from the participants present, while the call is held.
    void UpdateTitle();
    // Each tick of the typing timer: an "is typing" line 4 s old or more goes.
    void OnTypingTimer();

signals:
    // The call is open and the window is in it: participants asked for, welcome message sent.
    void CallOpened();
    // The window asked for the operator's attention, not being the active window.
    void Flashed();

protected:
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
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
    CFlatButton* AddToolbarButton(const char* caption, const QString& picture,
                                  void (CChatDlg::*command)(), int& x);
    void ConnectBridge();
    void RestorePlacement();
    void StartConnect();
    void OnConnectDone(int result, std::shared_ptr<CCall> call);
    void EnterError(const QString& message);
    void EnterClosed();

    void OnChatData(const CChatLine& line);
    void OnCallClosed(int reason);
    void OnParticipantsRefreshed(const std::vector<CUserEntry>& participants);
    void OnParticipantAdded(const CUserEntry& participant);
    void OnParticipantRemoved(const CUserEntry& participant);
    void OnTransferred(const CUserEntry& invited);
    void OnMessageSent(int code);
    void OnOtherMessage(int first, int second);
    void OnInputKeyDown();
    void OnEscape();

    // Posts chat data 3003 on the call; false when no call is held or it has no channel 0.
    bool PostChat(int kind, const QString& text, const QString& lostNotice);
    void SendAddress(const QString& address, const QString& html);
    void AppendOwnName();
    void AppendNotice(const QString& text);
    void Flash();
    std::int64_t Now() const;

    CAppSettings& m_settings;
    const int m_callId;
    QList<QPointer<QWidget>>& m_chatWindows;
    COperatorSession& m_session;
    const CLayoutProfile& m_profile;
    CNotifier& m_notifier;

    State m_state = State::Connecting;
    std::shared_ptr<CCall> m_call; // set once opened, emptied when closed from either side
    bool m_lostWhileConnecting = false;
    // The participants as the call's events have told them, in the call's order.
    std::vector<CUserEntry> m_participants;
    COutbox m_outbox;
    CTypingState m_typing;
    Clock m_clock;
    bool m_initialising = true;
    bool m_cannedShown = false;
    bool m_closingByEscape = false;

    // Measured once the controls are made.
    int m_buttonHeight = 0;
    int m_sendWidth = 0;
    int m_inputHeight = 0;

    CCallBridge* m_bridge = nullptr;
    CGradientLabel* m_band = nullptr;
    CFlatButton* m_cannedButton = nullptr;
    CFlatButton* m_transferButton = nullptr;
    CTranscriptCtrl* m_transcript = nullptr;
    QPlainTextEdit* m_input = nullptr;
    CFlatButton* m_sendButton = nullptr;
    QTreeView* m_cannedTree = nullptr;
    CGradientLabel* m_cannedCaption = nullptr;
    CFlatButton* m_hideCanned = nullptr;
    QFrame* m_line = nullptr;
    QLabel* m_statusLine = nullptr;
    QTimer* m_typingTimer = nullptr;
    std::unique_ptr<QPrinter> m_printer;

    CChatConnector m_connector;
};
