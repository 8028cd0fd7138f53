#include "chat_dlg.h"

#include "active_chats.h"
#include "app_settings.h"
#include "call_bridge.h"
#include "canned_completer.h"
#include "canned_panel.h"
#include "canned_tree_model.h"
#include "chat_line.h"
#include "chat_parts.h"
#include "chat_record.h"
#include "chat_shortcuts.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "layout_profile.h"
#include "live_region.h"
#include "message_codes.h"
#include "message_compose.h"
#include "notifier.h"
#include "participant_text.h"
#include "result_codes.h"
#include "result_text.h"
#include "shortcuts_dlg.h"
#include "shown_text.h"
#include "transcript_ctrl.h"
#include "transcript_output.h"
#include "url_dlg.h"
#include "window_layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QTimer>
#include <algorithm>
#include <chrono>

namespace {

// The size a window opens with when no placement is stored, and the least it can be.
constexpr QSize kDefaultSize(640, 470);
constexpr QSize kMinimumSize(440, 320);
// How much of a name from the network the window shows.
constexpr int kNameLength = 100;

std::int64_t WallSeconds()
{
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    return std::chrono::duration_cast<std::chrono::seconds>(now).count();
}

} // namespace

CChatDlg::CChatDlg(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
                   const CLayoutProfile& profile, CNotifier& notifier, QWidget* parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_offer(offer), m_bridge(bridge),
      m_profile(profile), m_notifier(notifier), m_clock(WallSeconds)
{
    m_bridge->setParent(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("chatWindow"));
    setWindowTitle(tr("Parlendo"));
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));

    BuildControls();
    m_record = std::make_unique<CChatRecord>(*m_transcript);
    m_transcript->SetShowTimes(m_settings.m_transcriptTimes == 1);
    ConnectBridge();
    StartConnect();
}

CChatDlg::~CChatDlg()
{
    m_record->End();
    // Nothing of the call reaches the window from here on, so closing it writes nothing.
    m_bridge->Detach();
}

CChatDlg* CChatDlg::Open(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
                         const CLayoutProfile& profile, CNotifier& notifier, CActiveChats* chats,
                         CChatArchive* archive)
{
    auto* window = new CChatDlg(settings, offer, bridge, profile, notifier);
    window->SetArchive(archive);
    window->RestorePlacement(chats ? chats->SeparateWindows() : 0);
    window->SetActiveChats(chats);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void CChatDlg::SetClock(Clock clock)
{
    m_clock = std::move(clock);
}

int CChatDlg::CallId() const
{
    return m_bridge->CallId();
}

// --- Building ---------------------------------------------------------------------------------

void CChatDlg::BuildControls()
{
    const CChatParts parts = CChatParts::Build(this);
    m_transfer = parts.transferChat;
    m_sendLink = parts.sendLink;
    m_sendImage = parts.sendImage;
    m_transcript = parts.transcript;
    m_input = parts.input;
    m_sendButton = parts.send;
    m_statusLine = parts.statusLine;
    connect(parts.transferChat, &QAbstractButton::clicked, this, &CChatDlg::OnTransferChat);
    connect(parts.sendLink, &QAbstractButton::clicked, this, &CChatDlg::OnSendLink);
    connect(parts.sendImage, &QAbstractButton::clicked, this, &CChatDlg::OnSendImage);
    connect(parts.saveChat, &QAbstractButton::clicked, this, &CChatDlg::OnSaveChat);
    connect(parts.printChat, &QAbstractButton::clicked, this, &CChatDlg::OnPrintChat);
    connect(parts.closeChat, &QAbstractButton::clicked, this, &CChatDlg::OnCloseChat);
    connect(m_sendButton, &QAbstractButton::clicked, this, &CChatDlg::OnSend);
    m_input->installEventFilter(this);
    // "/" or Ctrl+Space in the input box: the canned answers at the keyboard.
    m_completer = new CCannedCompleter(m_input, parts.cannedPanel->Model().Answers(), [this] {
        return CannedContext{VisitorName(), m_settings.m_username, {}};
    });
    connect(parts.cannedPanel, &CCannedPanel::AnswerChosen, m_completer,
            &CCannedCompleter::InsertAnswer);
    // What the offer said: the visitor's question, or who transferred the chat.
    parts.offerInfo->setText(OfferInfo(m_offer, m_participants));
    parts.offerInfo->setVisible(!parts.offerInfo->text().isEmpty());

    setMinimumSize(kMinimumSize);
    // A new window shows its whole toolbar.
    resize(std::max(kDefaultSize.width(), parts.toolbarWidth + 3), kDefaultSize.height());

    m_typingTimer = new QTimer(this);
    m_typingTimer->setInterval(kTypingTimerMs);
    connect(m_typingTimer, &QTimer::timeout, this, &CChatDlg::OnTypingTimer);

    // Escape ends the window without storing its placement; Enter outside the input box does
    // nothing.
    InstallChatShortcuts(
        this, parts, [this] { OnEscape(); },
        [this] { CShortcutsDlg::Open(m_shortcutTables, this); });
    m_shortcutTables = {ChatShortcuts()};
    m_live = parts.live;

    EnableCommands();
    m_input->setFocus();
}

void CChatDlg::ConnectBridge()
{
    connect(m_bridge, &CCallBridge::Opened, this, &CChatDlg::OnOpened);
    connect(m_bridge, &CCallBridge::OpenFailed, this, &CChatDlg::OnOpenFailed);
    connect(m_bridge, &CCallBridge::ChatData, this, &CChatDlg::OnChatData);
    connect(m_bridge, &CCallBridge::CallClosed, this, &CChatDlg::OnCallClosed);
    connect(m_bridge, &CCallBridge::ParticipantsRefreshed, this,
            &CChatDlg::OnParticipantsRefreshed);
    connect(m_bridge, &CCallBridge::ParticipantAdded, this, &CChatDlg::OnParticipantAdded);
    connect(m_bridge, &CCallBridge::ParticipantRemoved, this, &CChatDlg::OnParticipantRemoved);
    connect(m_bridge, &CCallBridge::Transferred, this, &CChatDlg::OnTransferred);
    connect(m_bridge, &CCallBridge::Delivered, this,
            [this](int ticket) { m_lostNotices.remove(ticket); });
    connect(m_bridge, &CCallBridge::Undelivered, this, &CChatDlg::OnUndelivered);
    // Channel events and other replies carry nothing the window shows.
}

void CChatDlg::SetActiveChats(CActiveChats* chats)
{
    m_chats = chats;
    if (!m_chats)
        return;
    m_chats->Add(this, VisitorName());
    m_chats->AddKeys(this, this);
}

QString CChatDlg::VisitorName() const
{
    return ::VisitorName(m_offer, m_participants);
}

bool CChatDlg::IsLookedAt() const
{
    return isVisible() && window()->isActiveWindow();
}

void CChatDlg::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && IsLookedAt() && m_chats)
        m_chats->Seen(this);
}

void CChatDlg::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // A tab brought to the front is looked at as a window is.
    if (IsLookedAt() && m_chats)
        m_chats->Seen(this);
}

void CChatDlg::RestorePlacement(int cascade)
{
    CWindowLayout(m_profile).RestoreWindow(this, QString::fromLatin1(LayoutSection::ChatWindow),
                                           cascade);
    // A chat the operator has just accepted must be seen: a window last closed minimised
    // comes back in its normal state.
    if (windowState().testFlag(Qt::WindowMinimized))
        setWindowState(windowState() & ~Qt::WindowMinimized);
}

// --- Connecting -------------------------------------------------------------------------------

void CChatDlg::StartConnect()
{
    setWindowTitle(tr("Parlendo - Connecting"));
    m_statusLine->setText(tr("Connecting to the Parlendo server..."));
    if (!m_bridge->Open())
        OnOpenFailed(rc::kThreadFailed);
}

void CChatDlg::OnOpenFailed(int result)
{
    if (m_state != State::Connecting)
        return;
    if (result == rc::kOk)
        EnterError(tr("Failed to open call.\r\nUnhandled software exception."));
    else
        EnterError(tr("Failed to start the chat.\r\n") + ResultText(result));
}

void CChatDlg::OnOpened()
{
    if (m_state != State::Connecting)
        return;
    if (m_lostWhileConnecting) {
        // The connection ended before the window got its call: it shows the call closed,
        // and the call stays listed with its broken channel, as after any loss.
        AppendNotice(tr("This call has been closed."));
        Flash();
        EnterClosed();
        return;
    }
    m_state = State::Connected;
    m_record->Begin(m_bridge->CallId(), m_settings.m_username,
                    m_offer.kind == CIncomingCall::kKindTransfer);
    EnableCommands();
    m_statusLine->setText(tr("Connected to the Parlendo server."));
    m_bridge->RequestParticipants();

    // Sent as stored: the welcome message keeps its apostrophes, unlike typed text. A transferred
    // call was greeted by whoever took it first.
    const QString& welcome = m_settings.m_welcomeMsg;
    if (!welcome.isEmpty() && m_offer.kind != CIncomingCall::kKindTransfer)
        SendLine(welcome, LineKind::Line, welcome);
    m_typingTimer->start();
    emit CallOpened();
}

void CChatDlg::EnableCommands()
{
    // Only a held call can take a line, a link, an image or a transfer.
    const bool held = m_state == State::Connected;
    for (CFlatButton* command : {m_sendButton, m_sendLink, m_sendImage, m_transfer})
        command->setEnabled(held);
}

void CChatDlg::EnterError(const QString& message)
{
    m_state = State::Error;
    EnableCommands();
    setWindowTitle(tr("Parlendo - Error"));
    m_statusLine->setText(tr("Failed to conect to the Parlendo server."));
    m_notifier.Inform(this, message);
}

void CChatDlg::EnterClosed()
{
    m_state = State::Closed;
    m_record->End();
    EnableCommands();
    if (m_chats)
        m_chats->SetEnded(this);
    setWindowTitle(tr("Parlendo - Chat closed"));
    m_statusLine->setText(tr("Chat closed"));
    m_typingTimer->stop(); // it only serves the typing line of a held call
}

// --- Events of the call -----------------------------------------------------------------------

void CChatDlg::OnChatData(const CChatLine& line)
{
    switch (line.kind) {
    case msg::chat::kLine:
        if (line.speaker && line.text) {
            const QString speaker = ShownLine(*line.speaker, kNameLength);
            m_record->Write(LineKind::Line, ShownMessage(*line.text), speaker, false);
            m_live->Announce(tr("%1: %2").arg(speaker, ShownMessage(*line.text)));
            if (m_chats)
                m_chats->VisitorWrote(this, IsLookedAt());
            Flash();
        }
        break;
    case msg::chat::kTyping:
        // One queued just before a close would otherwise cover "Chat closed" for good: the
        // timer that clears it has stopped. Lines still queued are shown, they were said.
        if (line.speaker && m_state == State::Connected) {
            m_statusLine->setText(
                tr("%1 is typing a message...").arg(ShownLine(*line.speaker, kNameLength)));
            m_typing.NoticeReceived(m_clock());
            if (m_chats)
                m_chats->SetTyping(this, true);
        }
        break;
    case msg::chat::kNotice:
        if (line.text) {
            AppendNotice(ShownMessage(*line.text));
            Flash();
        }
        break;
    default:
        break;
    }
}

void CChatDlg::OnCallClosed(int reason)
{
    switch (m_state) {
    case State::Connecting:
        // Before the window has its call, a close of this side's is the failed open that the
        // open's result reports; a lost connection is shown once the call is held.
        if (reason == 2)
            m_lostWhileConnecting = true;
        return;
    case State::Error:
    case State::Closed:
        return; // repeats while a call closes
    case State::Connected:
        break;
    }
    m_endedUnderIt = reason == 2;
    if (reason != 1) {
        AppendNotice(tr("This call has been closed."));
        Flash();
    }
    EnterClosed();
    if (m_endedUnderIt && m_sessionLostAt &&
        std::chrono::steady_clock::now() - *m_sessionLostAt < std::chrono::seconds(30))
        ConnectionLost();
}

void CChatDlg::ConnectionLost()
{
    // A call's channel may outlive the console's connection: only a chat that ended with it
    // is told.
    if (m_state == State::Connected)
        m_sessionLostAt = std::chrono::steady_clock::now();
    if (m_toldLost || m_state != State::Closed || !m_endedUnderIt)
        return;
    m_toldLost = true;
    AppendNotice(tr("The connection to the Parlendo server was lost."));
    m_statusLine->setText(tr("Chat closed: the connection to the server was lost"));
}

void CChatDlg::OnParticipantsRefreshed(const std::vector<CUserEntry>& participants)
{
    m_participants = participants;
    UpdateTitle();
    const int own = m_bridge->OperatorId();
    for (const CUserEntry& participant : m_participants) {
        if (IsShownParticipant(participant, own))
            AppendNotice(tr("%1 has joined this call").arg(ParticipantName(participant)));
    }
}

void CChatDlg::OnParticipantAdded(const CUserEntry& participant)
{
    m_participants.push_back(participant);
    AppendNotice(tr("%1 has joined this call").arg(ParticipantName(participant)));
    UpdateTitle();
    Flash();
}

void CChatDlg::OnParticipantRemoved(const CUserEntry& participant)
{
    RemoveParticipant(m_participants, participant);
    AppendNotice(tr("%1 has left this call").arg(ParticipantName(participant)));
    UpdateTitle();
    Flash();
}

void CChatDlg::OnTransferred(const CUserEntry& invited)
{
    m_record->MarkTransferred();
    AppendNotice(tr("%1 has been invited to join this call").arg(ParticipantName(invited)));
}

void CChatDlg::OnUndelivered(int ticket)
{
    const QString notice = m_lostNotices.take(ticket);
    if (!notice.isEmpty())
        m_record->Write(LineKind::Undelivered, notice);
}

void CChatDlg::UpdateTitle()
{
    if (m_state != State::Connected)
        return;
    setWindowTitle(ChatTitle(m_participants, m_bridge->OperatorId()));
    if (m_chats)
        m_chats->SetName(this, VisitorName());
    m_record->SetVisitor(VisitorName());
}

// --- Typing -----------------------------------------------------------------------------------

bool CChatDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_input && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
        // Enter sends; Shift+Enter breaks the line, as a multi-line box should allow.
        if (enter && !key->modifiers().testFlag(Qt::ShiftModifier)) {
            OnSend();
            return true;
        }
        if (m_typing.KeyDown(m_clock()) && m_state == State::Connected)
            m_bridge->SendTyping(m_settings.m_username);
    }
    return QWidget::eventFilter(watched, event);
}

void CChatDlg::OnTypingTimer()
{
    // Only the connected state shows typing lines; "Chat closed" is never wiped.
    if (m_state == State::Connected && m_typing.ShownTooLong(m_clock())) {
        m_statusLine->clear();
        if (m_chats)
            m_chats->SetTyping(this, false);
    }
}

// --- Commands ---------------------------------------------------------------------------------

bool CChatDlg::SendLine(const QString& text, LineKind kind, const QString& shown)
{
    if (m_state != State::Connected)
        return false;
    const int ticket = m_bridge->SendLine(m_settings.m_username, text);
    if (ticket == 0)
        return false; // no channel 0
    m_lostNotices.insert(ticket, tr("This message could not be delivered: %1").arg(shown));
    m_record->Write(kind, shown, m_settings.m_username, true);
    return true;
}

void CChatDlg::OnSend()
{
    const QString typed = m_input->toPlainText();
    if (typed.isEmpty())
        return;
    if (m_state != State::Connected) {
        // What the operator typed stays, to be copied elsewhere or sent once it can be.
        m_statusLine->setText(m_state == State::Connecting
                                  ? tr("Not sent: the chat is still connecting.")
                                  : tr("Not sent: this chat has ended."));
        return;
    }
    const QString sent = ApostrophesToBackticks(typed);
    if (SendLine(sent, LineKind::Line, sent))
        m_input->clear();
    else
        m_statusLine->setText(tr("Not sent: the chat's connection cannot take it."));
}

void CChatDlg::SendAddress(LineKind kind)
{
    auto* dialog = new CUrlDlg(m_notifier, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog, kind] {
        const bool link = kind == LineKind::Link;
        const QString address =
            link ? LinkAddress(dialog->Address()) : ImageAddress(dialog->Address());
        SendLine(link ? LinkHtml(address) : ImageHtml(address), kind, address);
    });
    dialog->open();
}

void CChatDlg::OnSendLink()
{
    SendAddress(LineKind::Link);
}

void CChatDlg::OnSendImage()
{
    SendAddress(LineKind::Image);
}

void CChatDlg::OnTransferChat()
{
    auto* dialog = new CInviteDlg(m_bridge->Operators(), m_bridge->OperatorId(), m_notifier, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // The call may have closed while the dialog was up: then nothing is sent.
        const int operatorId = dialog->SelectedOperatorId();
        if (m_state != State::Connected || operatorId < 1)
            return;
        if (const int ticket = m_bridge->Transfer(operatorId))
            m_lostNotices.insert(ticket, tr("The invitation could not be delivered."));
    });
    dialog->open();
}

void CChatDlg::OnSaveChat()
{
    OfferToSaveTranscript(this, m_transcript->PaperDocument(), m_notifier);
}

void CChatDlg::OnPrintChat()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    OfferToPrintTranscript(this, *m_printer, m_transcript->PaperDocument(), m_notifier);
}

void CChatDlg::OnCloseChat()
{
    if (m_state != State::Connected)
        return;
    m_bridge->Close();
    EnterClosed();
    AppendNotice(tr("You have closed this call."));
}

// --- Window -----------------------------------------------------------------------------------

void CChatDlg::closeEvent(QCloseEvent* event)
{
    // A live chat ends only when the operator says so: a stray Escape must not cut a visitor off.
    if (m_state == State::Connected && !m_endConfirmed) {
        event->ignore();
        AskToEnd();
        return;
    }
    // A tab's placement is its window's to keep.
    if (!m_closingByEscape && isWindow())
        CWindowLayout(m_profile).SaveWindow(this, QString::fromLatin1(LayoutSection::ChatWindow));
    QWidget::closeEvent(event);
}

void CChatDlg::OnEscape()
{
    m_closingByEscape = true;
    close();
}

void CChatDlg::AskToEnd()
{
    if (std::exchange(m_asking, true))
        return;
    m_notifier.Ask(this, tr("Parlendo"), tr("End the chat with %1?").arg(VisitorName()),
                   [self = QPointer<CChatDlg>(this)](bool yes) {
                       if (!self)
                           return;
                       self->m_asking = false;
                       if (!yes) {
                           self->m_closingByEscape = false;
                           return;
                       }
                       self->m_endConfirmed = true;
                       // Not from inside the close that asked: that one is still running.
                       QMetaObject::invokeMethod(self, &QWidget::close, Qt::QueuedConnection);
                   });
}

void CChatDlg::AppendNotice(const QString& text)
{
    m_record->Write(LineKind::Notice, text);
    m_live->Announce(text);
}

void CChatDlg::SetArchive(CChatArchive* archive)
{
    m_record->SetArchive(archive);
}

void CChatDlg::Flash()
{
    if (isActiveWindow())
        return;
    QApplication::alert(this);
    emit Flashed();
}
