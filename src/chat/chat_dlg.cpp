#include "chat_dlg.h"

#include "app_settings.h"
#include "call_bridge.h"
#include "canned_panel.h"
#include "chat_texts.h"
#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "invite_dlg.h"
#include "layout_profile.h"
#include "message_codes.h"
#include "message_compose.h"
#include "notifier.h"
#include "participant_text.h"
#include "result_codes.h"
#include "socket_message.h"
#include "toolbar_button.h"
#include "transcript_ctrl.h"
#include "transcript_output.h"
#include "url_dlg.h"
#include "window_layout.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QShortcut>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <chrono>

namespace {

QString Text(const char* text)
{
    return QString::fromLatin1(text);
}

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

// The size a window opens with when no placement is stored.
constexpr QSize kDefaultSize(640, 470);
constexpr QSize kMinimumSize(440, 320);

// Where the toolbar row starts, inside its band at (1, 1), and the room between buttons.
constexpr int kToolbarLeft = 4;
constexpr int kToolbarTop = 4;
constexpr int kToolbarSpacing = 2;
constexpr int kHideButtonSize = 16;

} // namespace

CChatDlg::CChatDlg(CAppSettings& settings, int callId, QList<QPointer<QWidget>>& chatWindows,
                   COperatorSession& session, const CLayoutProfile& profile, CNotifier& notifier,
                   QWidget* parent)
    : QWidget(parent, Qt::Window), m_settings(settings), m_callId(callId),
      m_chatWindows(chatWindows), m_session(session), m_profile(profile), m_notifier(notifier),
      m_clock([] {
          return static_cast<std::int64_t>(std::chrono::duration_cast<std::chrono::seconds>(
                                               std::chrono::system_clock::now().time_since_epoch())
                                               .count());
      }),
      m_connector(this, [this](int result, std::shared_ptr<CCall> call) {
          OnConnectDone(result, std::move(call));
      })
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(Text(ChatText::kTitle));
    setWindowIcon(QIcon(QStringLiteral(":/console/parlendo.svg")));
    m_chatWindows.append(QPointer<QWidget>(this));

    BuildControls();
    // Reads the answers as they are now: a later save in the editor leaves this window's alone.
    new CCannedPanel(m_cannedTree, m_input);
    ConnectBridge();
    OnCannedAnswers(); // a new window shows the panel
    RestorePlacement();
    RecalcLayout();
    StartConnect();
    m_initialising = false;
}

CChatDlg::~CChatDlg()
{
    for (qsizetype i = 0; i < m_chatWindows.size(); ++i) {
        if (m_chatWindows[i] == this) {
            m_chatWindows.removeAt(i);
            break;
        }
    }
    m_typingTimer->stop();
    // Nothing of the call reaches the window from here on, so closing it writes nothing.
    m_bridge->Detach();
    const bool openedMeanwhile = m_connector.Abandon();
    if (m_call) {
        m_call->ClearCallbacks();
        m_session.Calls().CloseCall(m_callId);
        m_call.reset();
    } else if (openedMeanwhile) {
        m_session.Calls().CloseCall(m_callId);
    }
}

CChatDlg* CChatDlg::Open(CAppSettings& settings, int callId, QList<QPointer<QWidget>>& chatWindows,
                         COperatorSession& session, const CLayoutProfile& profile,
                         CNotifier& notifier)
{
    auto* window = new CChatDlg(settings, callId, chatWindows, session, profile, notifier);
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

// --- Building ---------------------------------------------------------------------------------

void CChatDlg::BuildControls()
{
    const CDialogUnits units(font());

    m_bridge = new CCallBridge(this);

    // The band lies behind the toolbar buttons, so it is made first.
    m_band = new CGradientLabel(QString(), this);
    m_band->SetColours(SysColour::ScrollBar, SysColour::ScrollBar, SysColour::CaptionText);
    m_band->move(1, 1);

    int x = kToolbarLeft;
    m_cannedButton = AddToolbarButton(ChatText::kCannedAnswers, QStringLiteral(":/ui/canned.png"),
                                      &CChatDlg::OnCannedAnswers, x);
    m_transferButton = AddToolbarButton(ChatText::kTransferChat, QStringLiteral(":/ui/invite.png"),
                                        &CChatDlg::OnTransferChat, x);
    AddToolbarButton(ChatText::kSendLink, QStringLiteral(":/chat/link.png"), &CChatDlg::OnSendLink,
                     x);
    AddToolbarButton(ChatText::kSendImage, QStringLiteral(":/chat/image.png"),
                     &CChatDlg::OnSendImage, x);
    CFlatButton* save = AddToolbarButton(ChatText::kSaveChat, QStringLiteral(":/chat/save.png"),
                                         &CChatDlg::OnSaveChat, x);
    CFlatButton* print = AddToolbarButton(ChatText::kPrintChat, QStringLiteral(":/chat/print.png"),
                                          &CChatDlg::OnPrintChat, x);
    AddToolbarButton(ChatText::kCloseChat, QStringLiteral(":/chat/close-chat.png"),
                     &CChatDlg::OnCloseChat, x);
    save->SetTooltip(QStringLiteral("Save the chat as a rich text file (Ctrl+S)"), false);
    print->SetTooltip(QStringLiteral("Print the chat (Ctrl+P)"), false);
    m_buttonHeight = m_transferButton->height();
    // Never narrower than the toolbar, whose buttons keep their places.
    const int toolbarWidth = x - kToolbarSpacing + kToolbarLeft + 2;
    setMinimumSize(std::max(kMinimumSize.width(), toolbarWidth), kMinimumSize.height());
    resize(std::max(kDefaultSize.width(), toolbarWidth), kDefaultSize.height());

    m_transcript = new CTranscriptCtrl(this);
    m_transcript->setObjectName(QStringLiteral("transcript"));
    m_transcript->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);

    m_input = new QPlainTextEdit(this);
    m_input->setObjectName(QStringLiteral("input"));
    m_input->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_input->setTabChangesFocus(true);
    m_input->installEventFilter(this);
    m_inputHeight = units.Y(30);

    // The one raised button of the window: it is what Enter does.
    m_sendButton = new CFlatButton(Text(ChatText::kSend), this);
    m_sendButton->setObjectName(QStringLiteral("send"));
    m_sendButton->SetBitmaps(QImage(QStringLiteral(":/chat/send.png")),
                             QColor(0, 128, 128), {}, {}, false);
    m_sendButton->SetAlignment(CFlatButton::kPictureLeft, false);
    m_sendButton->SetFlat(false, false);
    connect(m_sendButton, &QAbstractButton::clicked, this, &CChatDlg::OnSend);
    m_sendWidth = std::max(units.X(50), m_sendButton->sizeHint().width());

    m_cannedTree = new QTreeView(this);
    m_cannedTree->setObjectName(QStringLiteral("cannedTree"));
    m_cannedTree->setHeaderHidden(true);
    m_cannedTree->setRootIsDecorated(false);
    m_cannedTree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The chosen answer stays marked while the operator types in the input box.
    QPalette treePalette = m_cannedTree->palette();
    treePalette.setBrush(QPalette::Inactive, QPalette::Highlight,
                         treePalette.brush(QPalette::Active, QPalette::Highlight));
    treePalette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                         treePalette.brush(QPalette::Active, QPalette::HighlightedText));
    m_cannedTree->setPalette(treePalette);

    m_cannedCaption = new CGradientLabel(Text(ChatText::kCannedAnswers), this);
    m_cannedCaption->setObjectName(QStringLiteral("cannedCaption"));
    m_cannedCaption->SetTopColour(SysColour::ScrollBar);
    m_cannedCaption->SetTextColour(SysColour::WindowText);

    m_hideCanned = new CFlatButton(QString(), this);
    m_hideCanned->setObjectName(QStringLiteral("hideCanned"));
    SetUpToolbarButton(*m_hideCanned, QStringLiteral(":/chat/hide.png"));
    m_hideCanned->SetTooltip(QStringLiteral("Hide the canned answers"), false);
    m_hideCanned->setAccessibleName(QStringLiteral("Hide the canned answers"));
    m_hideCanned->resize(kHideButtonSize, kHideButtonSize);
    connect(m_hideCanned, &QAbstractButton::clicked, this, &CChatDlg::OnHideCanned);
    m_cannedTree->hide();
    m_cannedCaption->hide();
    m_hideCanned->hide();

    m_line = new QFrame(this);
    m_line->setFrameStyle(QFrame::HLine | QFrame::Sunken);
    m_statusLine = new QLabel(this);
    m_statusLine->setObjectName(QStringLiteral("statusLine"));
    m_statusLine->setTextFormat(Qt::PlainText);

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

    setTabOrder(m_input, m_sendButton);
    setTabOrder(m_sendButton, m_transcript);
    setTabOrder(m_transcript, m_cannedTree);
    m_input->setFocus();
}

CFlatButton* CChatDlg::AddToolbarButton(const char* caption, const QString& picture,
                                        void (CChatDlg::*command)(), int& x)
{
    const CDialogUnits units(font());
    auto* button = new CFlatButton(Text(caption), this);
    button->setObjectName(Text(caption));
    SetUpToolbarButton(*button, picture);
    const QSize hint = button->sizeHint();
    button->setGeometry(x, kToolbarTop, hint.width(), std::max(units.Y(15), hint.height()));
    x += hint.width() + kToolbarSpacing;
    connect(button, &QAbstractButton::clicked, this, command);
    return button;
}

void CChatDlg::ConnectBridge()
{
    connect(m_bridge, &CCallBridge::ChatData, this, &CChatDlg::OnChatData);
    connect(m_bridge, &CCallBridge::MessageSent, this, &CChatDlg::OnMessageSent);
    connect(m_bridge, &CCallBridge::CallClosed, this, &CChatDlg::OnCallClosed);
    connect(m_bridge, &CCallBridge::ParticipantsRefreshed, this,
            &CChatDlg::OnParticipantsRefreshed);
    connect(m_bridge, &CCallBridge::ParticipantAdded, this, &CChatDlg::OnParticipantAdded);
    connect(m_bridge, &CCallBridge::ParticipantRemoved, this, &CChatDlg::OnParticipantRemoved);
    connect(m_bridge, &CCallBridge::Transferred, this, &CChatDlg::OnTransferred);
    connect(m_bridge, &CCallBridge::OtherMessage, this, &CChatDlg::OnOtherMessage);
    // Channel events carry nothing the window shows.
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
    setWindowTitle(Text(ChatText::kTitleConnecting));
    m_statusLine->setText(Text(ChatText::kStatusConnecting));
    // The callbacks go in with the open, so that even a connection that ends at once is seen.
    CCallList& calls = m_session.Calls();
    if (!m_connector.Start(calls, m_callId, m_bridge->Callbacks(calls, m_callId)))
        EnterError(Text(ChatText::kStartFailed) +
                   QString::fromUtf8(ResultMessage(rc::kThreadFailed)));
}

void CChatDlg::OnConnectDone(int result, std::shared_ptr<CCall> call)
{
    if (m_state != State::Connecting)
        return;
    if (result != rc::kOk) {
        EnterError(Text(ChatText::kStartFailed) + QString::fromUtf8(ResultMessage(result)));
        return;
    }
    if (!call) {
        EnterError(Text(ChatText::kCallNotFound));
        return;
    }
    if (m_lostWhileConnecting) {
        // The connection ended before the window got its call: it shows the call closed,
        // and the call stays listed with its broken channel, as after any loss.
        AppendNotice(Text(ChatText::kCallClosed));
        Flash();
        EnterClosed();
        return;
    }

    m_call = std::move(call);
    m_state = State::Connected;
    m_statusLine->setText(Text(ChatText::kStatusConnected));
    if (m_call->RequestParticipants() == rc::kOk)
        m_outbox.Queued(msg::kRequestUsers, {});

    // Sent as stored: the welcome message keeps its apostrophes, unlike typed text.
    const QString& welcome = m_settings.m_welcomeMsg;
    if (!welcome.isEmpty() &&
        PostChat(msg::chat::kLine, welcome, Text(ChatText::kNotDelivered).arg(welcome))) {
        AppendOwnName();
        m_transcript->AppendText(welcome, QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
    }
    m_typingTimer->start();
    emit CallOpened();
}

void CChatDlg::EnterError(const QString& message)
{
    m_state = State::Error;
    setWindowTitle(Text(ChatText::kTitleError));
    m_statusLine->setText(Text(ChatText::kStatusFailed));
    m_notifier.Inform(this, message);
}

void CChatDlg::EnterClosed()
{
    m_state = State::Closed;
    setWindowTitle(Text(ChatText::kTitleClosed));
    m_statusLine->setText(Text(ChatText::kStatusClosed));
    m_call.reset();
    m_typingTimer->stop(); // it only serves the typing line of a held call
}

// --- Events of the call -----------------------------------------------------------------------

void CChatDlg::OnChatData(const CChatLine& line)
{
    switch (line.kind) {
    case msg::chat::kLine:
        if (line.speaker && line.text) {
            m_transcript->AppendBoldText(*line.speaker + QLatin1Char(':'),
                                         QColor::fromRgb(CTranscriptCtrl::kOtherNameColour));
            m_transcript->AppendText(*line.text, QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
            Flash();
        }
        break;
    case msg::chat::kTyping:
        // One queued just before a close would otherwise cover "Chat closed" for good: the
        // timer that clears it has stopped. Lines still queued are shown, they were said.
        if (line.speaker && m_state == State::Connected) {
            m_statusLine->setText(Text(ChatText::kStatusTyping).arg(*line.speaker));
            m_typing.NoticeReceived(Now());
        }
        break;
    case msg::chat::kNotice:
        if (line.text) {
            AppendNotice(*line.text);
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
        // connect result reports; a lost connection is shown once the call is handed over.
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
        AppendNotice(Text(ChatText::kCallClosed));
        Flash();
    }
    EnterClosed();
}

void CChatDlg::OnParticipantsRefreshed(const std::vector<CUserEntry>& participants)
{
    m_participants = participants;
    UpdateTitle();
    const int own = m_session.OperatorId();
    for (const CUserEntry& participant : m_participants) {
        if (IsShownParticipant(participant, own))
            AppendNotice(Text(ChatText::kJoined).arg(ParticipantName(participant)));
    }
}

void CChatDlg::OnParticipantAdded(const CUserEntry& participant)
{
    m_participants.push_back(participant);
    AppendNotice(Text(ChatText::kJoined).arg(ParticipantName(participant)));
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
    AppendNotice(Text(ChatText::kLeft).arg(ParticipantName(participant)));
    UpdateTitle();
    Flash();
}

void CChatDlg::OnTransferred(const CUserEntry& invited)
{
    AppendNotice(Text(ChatText::kInvited).arg(ParticipantName(invited)));
}

void CChatDlg::OnMessageSent(int code)
{
    (void)m_outbox.Reported(code);
}

void CChatDlg::OnOtherMessage(int first, int second)
{
    if (second != rc::kSendFailed)
        return;
    const std::optional<QString> notice = m_outbox.Reported(first);
    if (notice && !notice->isEmpty())
        AppendNotice(*notice);
}

void CChatDlg::UpdateTitle()
{
    if (!m_call)
        return;
    setWindowTitle(ChatTitle(m_participants, m_session.OperatorId()));
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
    if (!m_typing.KeyDown(Now()) || !m_call)
        return;
    CSocketMessage notice(msg::kChatData);
    notice.AddIntField(msg::chat::kTyping);
    notice.AddField(Utf8(m_settings.m_username));
    if (m_call->Post(notice) == rc::kOk)
        m_outbox.Queued(msg::kChatData, {});
}

void CChatDlg::OnTypingTimer()
{
    // Only the connected state shows typing lines; "Chat closed" is never wiped.
    if (m_state == State::Connected && m_typing.ShownTooLong(Now()))
        m_statusLine->clear();
}

// --- Commands ---------------------------------------------------------------------------------

bool CChatDlg::PostChat(int kind, const QString& text, const QString& lostNotice)
{
    if (!m_call)
        return false;
    CSocketMessage line(msg::kChatData);
    line.AddIntField(kind);
    line.AddField(Utf8(m_settings.m_username));
    line.AddField(Utf8(WithoutFieldDelimiter(text)));
    if (m_call->Post(line) != rc::kOk)
        return false; // no channel 0
    m_outbox.Queued(msg::kChatData, lostNotice);
    return true;
}

void CChatDlg::OnSend()
{
    const QString typed = m_input->toPlainText();
    if (!typed.isEmpty() && m_call) {
        const QString sent = ApostrophesToBackticks(typed);
        if (PostChat(msg::chat::kLine, sent, Text(ChatText::kNotDelivered).arg(sent))) {
            AppendOwnName();
            m_transcript->AppendText(sent, QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
        }
    }
    m_input->clear();
}

void CChatDlg::SendAddress(const QString& address, const QString& html)
{
    if (PostChat(msg::chat::kLine, html, Text(ChatText::kNotDelivered).arg(address))) {
        AppendOwnName();
        m_transcript->AppendText(address, QColor::fromRgb(CTranscriptCtrl::kAddressColour));
    }
}

void CChatDlg::OnSendLink()
{
    auto* dialog = new CUrlDlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString address = LinkAddress(dialog->Address());
        SendAddress(address, LinkHtml(address));
    });
    dialog->open();
}

void CChatDlg::OnSendImage()
{
    auto* dialog = new CUrlDlg(this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        const QString address = ImageAddress(dialog->Address());
        SendAddress(address, ImageHtml(address));
    });
    dialog->open();
}

void CChatDlg::OnTransferChat()
{
    auto* dialog = new CInviteDlg(m_session, m_notifier, this);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    connect(dialog, &QDialog::accepted, this, [this, dialog] {
        // The call may have closed while the dialog was up: then nothing is sent.
        const int operatorId = dialog->SelectedOperatorId();
        if (!m_call || operatorId < 1)
            return;
        if (m_call->TransferCall(operatorId, ChatText::kTransferText) == rc::kOk)
            m_outbox.Queued(msg::kTransferCall, Text(ChatText::kInvitationNotDelivered));
    });
    dialog->open();
}

void CChatDlg::OnSaveChat()
{
    auto* dialog =
        new QFileDialog(this, QStringLiteral("Save As"), QString(), Text(ChatText::kRtfFilter));
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("rtf"));
    dialog->setOption(QFileDialog::DontConfirmOverwrite, false);
    connect(dialog, &QFileDialog::fileSelected, this, &CChatDlg::SaveChatTo);
    dialog->open();
}

bool CChatDlg::SaveChatTo(const QString& path)
{
    const QString error = SaveTranscript(path, *m_transcript->document());
    if (error.isEmpty())
        return true;
    m_notifier.Inform(this, error);
    return false;
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
    if (!m_call)
        return;
    m_session.Calls().CloseCall(m_callId);
    EnterClosed();
    AppendNotice(Text(ChatText::kYouClosed));
}

void CChatDlg::OnCannedAnswers()
{
    m_cannedShown = !m_cannedShown;
    m_cannedTree->setVisible(m_cannedShown);
    m_cannedCaption->setVisible(m_cannedShown);
    m_hideCanned->setVisible(m_cannedShown);
    RecalcLayout();
}

void CChatDlg::OnHideCanned()
{
    if (m_cannedShown)
        OnCannedAnswers();
}

// --- Window -----------------------------------------------------------------------------------

void CChatDlg::RecalcLayout()
{
    const int w = width();
    const int h = height();
    const int b = m_buttonHeight;
    const int s = m_sendWidth;
    const int e = m_inputHeight;

    m_band->resize(w - 4, b + 6);
    if (m_cannedShown) {
        m_cannedTree->setGeometry(1, b + 32, kCannedWidth, h - b - 64);
        m_cannedCaption->setGeometry(1, b + 12, kCannedWidth, 19);
        m_hideCanned->setGeometry(138, b + 14, kHideButtonSize, kHideButtonSize);
        m_hideCanned->raise();
        m_transcript->setGeometry(160, b + 12, w - 164, h - b - e - 50);
        m_input->setGeometry(160, h - e - 32, w - s - 168, e);
    } else {
        m_transcript->setGeometry(1, b + 12, w - 4, h - b - e - 50);
        m_input->setGeometry(1, h - e - 32, w - s - 8, e);
    }
    m_sendButton->setGeometry(w - s - 2, h - e - 32, s, e);
    m_line->setGeometry(1, h - 28, w - 2, 2);
    m_statusLine->setGeometry(1, h - 22, w - 2, 20);
    update();
}

void CChatDlg::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_initialising)
        RecalcLayout();
}

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
