#include "operator_day.h"

#include "call_dlg.h"
#include "canned_store.h"
#include "chat_dlg.h"
#include "day_stage.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "login_dlg.h"
#include "message_codes.h"
#include "url_dlg.h"
#include "visitor_list_model.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

using namespace std::chrono_literals;

const QString COperatorDay::kWelcome = QStringLiteral("Hi, I'm Ann. How can I help?");
const QString COperatorDay::kOnline = QStringLiteral("Parlendo - Online [127.0.0.1]");
const QString COperatorDay::kNotConnected = QStringLiteral("Parlendo - Not connected");

namespace {

QStringList Lines(const CChatDlg* chat)
{
    const auto* transcript = chat->findChild<QTextEdit*>(QStringLiteral("transcript"));
    return transcript->toPlainText().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

QString StatusLine(const CChatDlg* chat)
{
    return chat->findChild<QLabel*>(QStringLiteral("statusLine"))->text();
}

// The dialog of that type a command has just opened over owner, or none.
template <class Dialog> Dialog* OpenDialog(const QWidget* owner)
{
    Dialog* dialog = owner->findChild<Dialog*>();
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

CCallDlg* OpenOffer()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* offer = qobject_cast<CCallDlg*>(widget); offer && offer->isVisible())
            return offer;
    return nullptr;
}

void Click(const QWidget* owner, const char* button)
{
    owner->findChild<CFlatButton*>(QLatin1String(button))->click();
}

} // namespace

COperatorDay::COperatorDay(CDayStage& stage, Hook hook)
    : m_stage(stage), m_hook(std::move(hook)),
      m_transcriptPath(stage.folder.filePath(QStringLiteral("day.rtf")))
{
}

COperatorDay::~COperatorDay() = default;

CChatDlg* COperatorDay::Chat() const
{
    return m_stage.Chats().isEmpty() ? nullptr : m_stage.Chats().first();
}

bool COperatorDay::WaitFor(const std::function<bool()>& done, const QString& what)
{
    if (CDayStage::WaitFor(done))
        return true;
    m_error = QStringLiteral("waited in vain for ") + what;
    return false;
}

void COperatorDay::Show(const QString& name, QWidget* shown) const
{
    if (m_hook && shown)
        m_hook(name, shown);
}

bool COperatorDay::ServerGot(int code, const QString& line, int callId) const
{
    return day::ServerReceived(m_stage.World(), code, callId).contains(line);
}

QString COperatorDay::Title() const
{
    return m_stage.window->windowTitle();
}

int COperatorDay::Crowd() const
{
    return static_cast<int>(m_stage.World().Visitors().size());
}

int COperatorDay::Listed(const char* list) const
{
    return m_stage.window->findChild<QAbstractItemView*>(QLatin1String(list))->model()->rowCount();
}

bool COperatorDay::Run()
{
    return StartTheDay() && VisitorArrives() && InviteTheVisitor() && AcceptTheCall() && Talk() &&
           SendLinkAndCannedAnswer() && TransferToColleague() &&
           VisitorLeavesAndTranscriptIsSaved() && LogOutInAndSurviveARestart();
}

bool COperatorDay::StartTheDay()
{
    if (!m_stage.StartServer()) {
        m_error = QStringLiteral("the simulated server did not start");
        return false;
    }
    m_colleague = std::make_unique<COperatorSession>(300ms, 300ms);
    if (m_colleague->Login("127.0.0.1", static_cast<std::uint16_t>(m_stage.settings.m_serverPort),
                           day::kColleague, day::kColleaguePassword) != 0) {
        m_error = QStringLiteral("Bob could not log in");
        return false;
    }
    CAppSettings& settings = m_stage.settings;
    settings.m_autoLogin = 1;
    settings.m_saveLogin = 1;
    settings.m_reconnect = 1;
    settings.m_showHints = 1;
    settings.m_notifyTimeout = 1000;
    settings.m_welcomeMsg = kWelcome;
    SaveCannedAnswers({{"Shipping", {{"Delay", "Sorry for the wait, it's on its way."}}, true}},
                      CannedAnswersFilePath());
    ConsoleTimings timings = CDayStage::Timings();
    timings.keepAlivePeriod = 300ms; // for the restart at the end of the day
    m_stage.MakeWindow(timings);
    if (!m_stage.ShowWindow()) {
        m_error = QStringLiteral("the main window's first display did not run");
        return false;
    }
    return WaitFor(
        [this] {
            return Title() == kOnline && Listed("operators") == 2 && Listed("visitors") == 5;
        },
        QStringLiteral("Ann online with two operators and five visitors"));
}

bool COperatorDay::VisitorArrives()
{
    QPointer<QWidget> popup;
    const QMetaObject::Connection announced =
        QObject::connect(m_stage.window, &COperatorDlg::VisitorAnnounced,
                         [this, &popup](int id, QWidget* shown) {
                             if (id == m_visitorId)
                                 popup = shown;
                         });
    m_visitorId = m_stage.World().AddVisitor();
    const bool shown =
        WaitFor([&] { return popup && popup->isVisible() && Listed("visitors") == 6; },
                QStringLiteral("the popup of the visitor who arrived"));
    QObject::disconnect(announced);
    for (const SimVisitor& v : m_stage.World().Visitors())
        if (v.id == m_visitorId)
            m_visitorName = QString::fromStdString(v.name);
    if (!shown)
        return false;
    Show(QStringLiteral("day-2-popup"), popup);
    Show(QStringLiteral("day-1-main-visitors"), m_stage.window);
    return true;
}

bool COperatorDay::InviteTheVisitor()
{
    auto* view = m_stage.window->findChild<QAbstractItemView*>(QStringLiteral("visitors"));
    for (int row = 0; row < view->model()->rowCount(); ++row) {
        const QModelIndex index = view->model()->index(row, 0);
        if (index.data(CVisitorListModel::IdRole).toInt() == m_visitorId)
            view->selectionModel()->select(index, QItemSelectionModel::ClearAndSelect |
                                                      QItemSelectionModel::Rows);
    }
    Click(m_stage.window, "invite");
    return WaitFor(
        [this] {
            return ServerGot(msg::kInviteVisitor, QStringLiteral("%1|ann").arg(m_visitorId));
        },
        QStringLiteral("the invitation at the server"));
}

bool COperatorDay::AcceptTheCall()
{
    m_callId = m_stage.World().RequestChat(m_visitorId, day::SignedInId(m_stage.World()));
    QPointer<CCallDlg> offer;
    if (!WaitFor([&offer] { return (offer = OpenOffer()) != nullptr; },
                 QStringLiteral("the offer of the call")))
        return false;
    Show(QStringLiteral("day-3-offer"), offer);
    Click(offer, "accept");
    Click(offer, "accept");
    return WaitFor(
        [this, &offer] {
            const CChatDlg* chat = Chat();
            return !offer && chat &&
                   StatusLine(chat) == QStringLiteral("Connected to the Parlendo server.") &&
                   chat->windowTitle().contains(m_visitorName);
        },
        QStringLiteral("the chat window in the call"));
}

bool COperatorDay::Talk()
{
    CChatDlg* chat = Chat();
    if (!WaitFor(
            [this] {
                return ServerGot(msg::kChatData, QStringLiteral("1|ann|") + kWelcome, m_callId);
            },
            QStringLiteral("the welcome message at the server")))
        return false;
    const QString question = QStringLiteral("My parcel hasn't arrived.");
    m_stage.World().VisitorSays(m_callId, question.toStdString());
    if (!WaitFor([&] { return Lines(chat).contains(question); },
                 QStringLiteral("the visitor's line")))
        return false;
    m_stage.World().VisitorTypes(m_callId);
    if (!WaitFor(
            [&] {
                return StatusLine(chat) ==
                       m_visitorName + QStringLiteral(" is typing a message...");
            },
            QStringLiteral("the visitor typing")))
        return false;
    auto* input = chat->findChild<QPlainTextEdit*>(QStringLiteral("input"));
    QTest::keyClicks(input, QStringLiteral("Let's have a look at it."));
    QTest::keyClick(input, Qt::Key_Return);
    return WaitFor(
        [this] {
            return ServerGot(msg::kChatData, QStringLiteral("1|ann|Let`s have a look at it."),
                             m_callId);
        },
        QStringLiteral("Ann's answer at the server"));
}

bool COperatorDay::SendLinkAndCannedAnswer()
{
    CChatDlg* chat = Chat();
    Click(chat, "sendLink");
    CUrlDlg* url = nullptr;
    if (!WaitFor([&] { return (url = OpenDialog<CUrlDlg>(chat)) != nullptr; },
                 QStringLiteral("the URL dialog")))
        return false;
    url->findChild<QLineEdit*>()->setText(QStringLiteral("shop.example.com/track"));
    Show(QStringLiteral("day-5-url"), url);
    const auto sent = [this] {
        return day::ServerReceived(m_stage.World(), msg::kChatData, m_callId).size();
    };
    const auto before = sent();
    url->accept();
    if (!WaitFor([&] { return sent() > before; }, QStringLiteral("the link at the server")))
        return false;

    auto* tree = chat->findChild<QTreeView*>(QStringLiteral("cannedTree"));
    const QModelIndex answer = tree->model()->index(0, 0, tree->model()->index(0, 0));
    tree->selectionModel()->setCurrentIndex(answer, QItemSelectionModel::ClearAndSelect);
    Show(QStringLiteral("day-4-chat"), chat);
    QTest::keyClick(chat->findChild<QPlainTextEdit*>(QStringLiteral("input")), Qt::Key_Return);
    return WaitFor([&] { return sent() > before + 1; },
                   QStringLiteral("the canned answer at the server"));
}

bool COperatorDay::TransferToColleague()
{
    CChatDlg* chat = Chat();
    Click(chat, "transferChat");
    CInviteDlg* invite = nullptr;
    QTreeView* operators = nullptr;
    if (!WaitFor(
            [&] {
                invite = OpenDialog<CInviteDlg>(chat);
                operators =
                    invite ? invite->findChild<QTreeView*>(QStringLiteral("operators")) : nullptr;
                return operators && operators->model()->rowCount() == 1;
            },
            QStringLiteral("Bob in the transfer dialog")))
        return false;
    operators->setCurrentIndex(operators->model()->index(0, 0));
    Show(QStringLiteral("day-6-invite"), invite);
    invite->accept();
    return WaitFor(
        [chat] {
            return Lines(chat).contains(
                QStringLiteral("Bob Stone has been invited to join this call"));
        },
        QStringLiteral("the server's confirmation of the transfer"));
}

bool COperatorDay::VisitorLeavesAndTranscriptIsSaved()
{
    CChatDlg* chat = Chat();
    m_stage.World().VisitorLeavesCall(m_callId);
    if (!WaitFor(
            [&] {
                return chat->windowTitle() == QStringLiteral("Parlendo - Chat closed") &&
                       Lines(chat).contains(m_visitorName + QStringLiteral(" has left this call"));
            },
            QStringLiteral("the chat closed by the visitor")))
        return false;
    Show(QStringLiteral("day-7-chat-closed"), chat);
    Click(chat, "saveChat");
    QFileDialog* save = nullptr;
    if (!WaitFor([&] { return (save = OpenDialog<QFileDialog>(chat)) != nullptr; },
                 QStringLiteral("the save dialog")))
        return false;
    save->selectFile(m_transcriptPath);
    static_cast<QDialog*>(save)->accept(); // the dialog's own Save
    return WaitFor([this] { return QFileInfo(m_transcriptPath).size() > 0; },
                   QStringLiteral("the saved transcript"));
}

bool COperatorDay::LogOutInAndSurviveARestart()
{
    COperatorDlg* window = m_stage.window;
    Click(window, "logout");
    if (!WaitFor([this] { return Title() == kNotConnected && Listed("visitors") == 0; },
                 QStringLiteral("the log-out")))
        return false;
    Click(window, "login");
    CLoginDlg* login = nullptr;
    if (!WaitFor([&] { return (login = OpenDialog<CLoginDlg>(window)) != nullptr; },
                 QStringLiteral("the login dialog")))
        return false;
    login->findChild<QLineEdit*>(QStringLiteral("username"))
        ->setText(QString::fromLatin1(day::kUser));
    login->findChild<QLineEdit*>(QStringLiteral("password"))
        ->setText(QString::fromLatin1(day::kPassword));
    Show(QStringLiteral("login"), login);
    login->accept();
    if (!WaitFor([this] { return Title() == kOnline && Listed("visitors") == Crowd(); },
                 QStringLiteral("the log-in by hand")))
        return false;

    m_stage.StopServer();
    if (!WaitFor([this] { return Title() == kNotConnected; },
                 QStringLiteral("the lost connection shown")))
        return false;
    if (!m_stage.StartServer()) {
        m_error = QStringLiteral("the simulated server did not start again");
        return false;
    }
    return WaitFor([this] { return Title() == kOnline && Listed("visitors") == Crowd(); },
                   QStringLiteral("the console back online after the restart"));
}
