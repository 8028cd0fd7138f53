#include "chat_dlg.h"

#include "app_settings.h"
#include "call_bridge.h"
#include "canned_panel.h"
#include "chat_line.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "layout_profile.h"
#include "message_codes.h"
#include "message_compose.h"
#include "notifier.h"
#include "participant_text.h"
#include "result_codes.h"
#include "result_text.h"
#include "shown_text.h"
#include "toolbar_band.h"
#include "transcript_ctrl.h"
#include "transcript_output.h"
#include "url_dlg.h"
#include "window_layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>

namespace {

// The size a window opens with when no placement is stored, and the least it can be.
constexpr QSize kDefaultSize(640, 470);
constexpr QSize kMinimumSize(440, 320);
// How much of a name from the network the window shows.
constexpr int kNameLength = 100;

} // namespace

CChatDlg::CChatDlg(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
                   const CLayoutProfile& profile, CNotifier& notifier, QWidget* parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_offer(offer), m_bridge(bridge),
      m_profile(profile),
      m_notifier(notifier), m_clock([] {
          return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                               std::chrono::system_clock::now().time_since_epoch())
                                               .count());
      })
{
    m_bridge->setParent(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("chatWindow"));
    setWindowTitle(tr("Parlendo"));
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));

    BuildControls();
    ConnectBridge();
    RestorePlacement();
    StartConnect();
}

CChatDlg::~CChatDlg()
{
    // Nothing of the call reaches the window from here on, so closing it writes nothing.
    m_bridge->Detach();
}

CChatDlg* CChatDlg::Open(CAppSettings& settings, const CIncomingCall& offer, CCallBridge* bridge,
                         const CLayoutProfile& profile, CNotifier& notifier)
{
    auto* window = new CChatDlg(settings, offer, bridge, profile, notifier);
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void CChatDlg::SetClock(Clock clock)
{
    m_clock = std::move(clock);
}

std::int64_t CChatDlg::Now() const
{
    return m_clock();
}

int CChatDlg::CallId() const
{
    return m_bridge->CallId();
}

// --- Building ---------------------------------------------------------------------------------

void CChatDlg::BuildControls()
{
    const CDialogUnits units(font());

    auto* toolbar = new CToolbarBand(this);
    const auto add = [this, toolbar](const QString& caption, const char* picture,
                                     const char* name, void (CChatDlg::*command)()) {
        CFlatButton* button = toolbar->AddButton(caption, QString::fromLatin1(picture),
                                                 QString::fromLatin1(name));
        connect(button, &QAbstractButton::clicked, this, command);
        return button;
    };
    // The panel's toggle first: the window's own slot is wired once the panel exists.
    m_cannedButton = toolbar->AddButton(tr("Canned Answers"), QStringLiteral(":/ui/canned.png"),
                                        QStringLiteral("cannedAnswers"));
    m_transfer =
        add(tr("Transfer Chat"), ":/ui/invite.png", "transferChat", &CChatDlg::OnTransferChat);
    m_sendLink = add(tr("Send Link"), ":/chat/link.png", "sendLink", &CChatDlg::OnSendLink);
    m_sendImage = add(tr("Send Image"), ":/chat/image.png", "sendImage", &CChatDlg::OnSendImage);
    add(tr("Save Chat"), ":/chat/save.png", "saveChat", &CChatDlg::OnSaveChat)
        ->SetTooltip(tr("Save the chat as a rich text file (Ctrl+S)"), false);
    add(tr("Print Chat"), ":/chat/print.png", "printChat", &CChatDlg::OnPrintChat)
        ->SetTooltip(tr("Print the chat (Ctrl+P)"), false);
    add(tr("Close Chat"), ":/chat/close-chat.png", "closeChat", &CChatDlg::OnCloseChat);

    m_transcript = new CTranscriptCtrl(this);
    m_transcript->setObjectName(QStringLiteral("transcript"));
    m_transcript->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    m_input = new QPlainTextEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_input->setTabChangesFocus(true);
    m_input->installEventFilter(this);
    m_input->setFixedHeight(units.Y(30));

    // The one raised button of the window: it is what Enter does.
    m_sendButton = new CFlatButton(tr("Send"), this);
    m_sendButton->setObjectName(QStringLiteral("send"));
    m_sendButton->SetBitmaps(QImage(QStringLiteral(":/chat/send.png")), QColor(0, 128, 128), {},
                             {}, false);
    m_sendButton->SetAlignment(CFlatButton::kPictureLeft, false);
    m_sendButton->SetFlat(false, false);
    m_sendButton->setFixedSize(std::max(units.X(50), m_sendButton->sizeHint().width()),
                               units.Y(30));
    connect(m_sendButton, &QAbstractButton::clicked, this, &CChatDlg::OnSend);

    // Reads the answers as they are now: a later save in the editor leaves this window's alone.
    m_cannedPanel = new CCannedPanel(m_input, this);
    connect(m_cannedButton, &QAbstractButton::clicked, m_cannedPanel, &CCannedPanel::Toggle);

    auto* line = new QFrame(this);
    line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setTextFormat(Qt::PlainText);

    auto* inputRow = new QHBoxLayout;
    inputRow->setSpacing(units.X(1));
    inputRow->addWidget(m_input, 1);
    inputRow->addWidget(m_sendButton);
    auto* conversation = new QVBoxLayout;
    conversation->setSpacing(units.Y(2));
    conversation->addWidget(m_transcript, 1);
    conversation->addLayout(inputRow);
    auto* body = new QHBoxLayout;
    body->setSpacing(units.X(1));
    body->addWidget(m_cannedPanel);
    body->addLayout(conversation, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 2, 2);
    layout->setSpacing(units.Y(2));
    layout->addWidget(toolbar);
    layout->addLayout(body, 1);
    layout->addWidget(line);
    layout->addWidget(m_statusLine);

    setMinimumSize(kMinimumSize);
    // A new window shows its whole toolbar.
    resize(std::max(kDefaultSize.width(), toolbar->RowWidth() + 3), kDefaultSize.height());

    m_typingTimer = new QTimer(this);
    m_typingTimer->setInterval(kTypingTimerMs);
    connect(m_typingTimer, &QTimer::timeout, this, &CChatDlg::OnTypingTimer);

    // Escape ends the window without storing its placement; Enter outside the input box does
    // nothing.
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &CChatDlg::OnEscape);
    auto* saveKey = new QShortcut(QKeySequence::Save, this);
    connect(saveKey, &QShortcut::activated, this, &CChatDlg::OnSaveChat);
    auto* printKey = new QShortcut(QKeySequence::Print, this);
    connect(printKey, &QShortcut::activated, this, &CChatDlg::OnPrintChat);

    EnableCommands();
    setTabOrder(m_input, m_sendButton);
    setTabOrder(m_sendButton, m_transcript);
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

void CChatDlg::RestorePlacement()
{
    CWindowLayout(m_profile).RestoreWindow(this, QString::fromLatin1(LayoutSection::ChatWindow));
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
    EnableCommands();
    m_statusLine->setText(tr("Connected to the Parlendo server."));
    m_bridge->RequestParticipants();

    // Sent as stored: the welcome message keeps its apostrophes, unlike typed text. A transferred
    // call was greeted by whoever took it first.
    const QString& welcome = m_settings.m_welcomeMsg;
    if (!welcome.isEmpty() && m_offer.kind != CIncomingCall::kKindTransfer)
        SendLine(welcome, welcome, CTranscriptCtrl::kChatTextColour,
                 tr("This message could not be delivered: %1").arg(welcome));
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
    EnableCommands();
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
            m_transcript->AppendBoldText(ShownLine(*line.speaker, kNameLength) + QLatin1Char(':'),
                                         QColor::fromRgb(CTranscriptCtrl::kOtherNameColour));
            m_transcript->AppendText(ShownMessage(*line.text),
                                     QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
            Flash();
        }
        break;
    case msg::chat::kTyping:
        // One queued just before a close would otherwise cover "Chat closed" for good: the
        // timer that clears it has stopped. Lines still queued are shown, they were said.
        if (line.speaker && m_state == State::Connected) {
            m_statusLine->setText(
                tr("%1 is typing a message...").arg(ShownLine(*line.speaker, kNameLength)));
            m_typing.NoticeReceived(Now());
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
    if (reason != 1) {
        AppendNotice(tr("This call has been closed."));
        Flash();
    }
    EnterClosed();
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
    const auto it =
        std::find_if(m_participants.begin(), m_participants.end(), [&](const CUserEntry& p) {
            return p.id == participant.id && p.type == participant.type;
        });
    if (it != m_participants.end())
        m_participants.erase(it);
    AppendNotice(tr("%1 has left this call").arg(ParticipantName(participant)));
    UpdateTitle();
    Flash();
}

void CChatDlg::OnTransferred(const CUserEntry& invited)
{
    AppendNotice(tr("%1 has been invited to join this call").arg(ParticipantName(invited)));
}

void CChatDlg::OnUndelivered(int ticket)
{
    const QString notice = m_lostNotices.take(ticket);
    if (!notice.isEmpty())
        AppendNotice(notice);
}

void CChatDlg::UpdateTitle()
{
    if (m_state == State::Connected)
        setWindowTitle(ChatTitle(m_participants, m_bridge->OperatorId()));
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
        OnInputKeyDown();
    }
    return QWidget::eventFilter(watched, event);
}

void CChatDlg::OnInputKeyDown()
{
    if (m_typing.KeyDown(Now()) && m_state == State::Connected)
        m_bridge->SendTyping(m_settings.m_username);
}

void CChatDlg::OnTypingTimer()
{
    // Only the connected state shows typing lines; "Chat closed" is never wiped.
    if (m_state == State::Connected && m_typing.ShownTooLong(Now()))
        m_statusLine->clear();
}

// --- Commands ---------------------------------------------------------------------------------

bool CChatDlg::SendLine(const QString& text, const QString& shown, QRgb shownColour,
                        const QString& lostNotice)
{
    if (m_state != State::Connected)
        return false;
    const int ticket = m_bridge->SendLine(m_settings.m_username, text);
    if (ticket == 0)
        return false; // no channel 0
    m_lostNotices.insert(ticket, lostNotice);
    AppendOwnName();
    m_transcript->AppendText(shown, QColor::fromRgb(shownColour));
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
    if (SendLine(sent, sent, CTranscriptCtrl::kChatTextColour,
                 tr("This message could not be delivered: %1").arg(sent)))
        m_input->clear();
    else
        m_statusLine->setText(tr("Not sent: the chat's connection cannot take it."));
}

void CChatDlg::AskForAddress(const std::function<void(const QString& typed)>& send)
{
    auto* dialog = new CUrlDlg(m_notifier, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [dialog, send] { send(dialog->Address()); });
    dialog->open();
}

void CChatDlg::OnSendLink()
{
    AskForAddress([this](const QString& typed) {
        const QString address = LinkAddress(typed);
        SendLine(LinkHtml(address), address, CTranscriptCtrl::kAddressColour,
                 tr("This message could not be delivered: %1").arg(address));
    });
}

void CChatDlg::OnSendImage()
{
    AskForAddress([this](const QString& typed) {
        const QString address = ImageAddress(typed);
        SendLine(ImageHtml(address), address, CTranscriptCtrl::kAddressColour,
                 tr("This message could not be delivered: %1").arg(address));
    });
}

void CChatDlg::OnTransferChat()
{
    auto* dialog =
        new CInviteDlg(m_bridge->Operators(), m_bridge->OperatorId(), m_notifier, this);
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
    auto* dialog = new QFileDialog(this, tr("Save As"), QString(), tr("Rich Text Format(*.rtf)"));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("rtf"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    connect(dialog, &QFileDialog::fileSelected, this, [this](const QString& path) {
        const QString error = SaveTranscript(path, *m_transcript->document());
        if (!error.isEmpty())
            m_notifier.Inform(this, error);
    });
    dialog->open();
}

void CChatDlg::OnPrintChat()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    m_printer->setPrintRange(QPrinter::AllPages);
    auto* dialog = new QPrintDialog(m_printer.get(), this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    // All pages only; printing to a PDF file stands in for a printer where there is none.
    dialog->setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog->setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog->setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog->setOption(QAbstractPrintDialog::PrintToFile, true);
    connect(dialog, &QDialog::finished, this, [this](int result) {
        if (result != QDialog::Accepted)
            return;
        const QString error = PrintTranscript(*m_printer, *m_transcript->document(), windowTitle());
        if (!error.isEmpty())
            m_notifier.Inform(this, error);
    });
    dialog->open();
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
    if (!m_closingByEscape)
        CWindowLayout(m_profile).SaveWindow(this, QString::fromLatin1(LayoutSection::ChatWindow));
    QWidget::closeEvent(event);
}

void CChatDlg::OnEscape()
{
    m_closingByEscape = true;
    close();
}

void CChatDlg::AppendOwnName()
{
    m_transcript->AppendBoldText(m_settings.m_username + QLatin1Char(':'),
                                 QColor::fromRgb(CTranscriptCtrl::kOwnNameColour));
}

void CChatDlg::AppendNotice(const QString& text)
{
    m_transcript->AppendNotice(text, QColor::fromRgb(CTranscriptCtrl::kNoticeColour), false, true);
}

void CChatDlg::Flash()
{
    if (isActiveWindow())
        return;
    QApplication::alert(this);
    emit Flashed();
}
