// One operator's day through the real windows against the simulated server on a manual clock:
// log-in beside a colleague, visitors arriving, an invitation, a call offered and accepted, a
// conversation with a link and a canned answer, a transfer, the visitor leaving, the saved
// transcript, log-out and log-in, and a server restart the keep-alive recovers from.
//
// With PARLENDO_SHOTS_DIR set, each window is also grabbed at its step into that folder
// (scripts/day-shots.sh runs it so under a virtual display).
#include "call_dlg.h"
#include "call_offers.h"
#include "canned_store.h"
#include "chat_connector.h"
#include "chat_dlg.h"
#include "console_rig.h"
#include "console_toolbar.h"
#include "counting_ring.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "login_dlg.h"
#include "message_codes.h"
#include "operator_list_model.h"
#include "ring_player.h"
#include "socket_message.h"
#include "transcript_ctrl.h"
#include "url_dlg.h"
#include "visitor_list_ctrl.h"
#include "visitor_list_model.h"
#include "visitor_popup_dlg.h"

#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>

using namespace std::chrono_literals;

namespace {

const QString kOnline = QStringLiteral("Parlendo - Online [127.0.0.1]");
const QString kNotConnected = QStringLiteral("Parlendo - Not connected");
const QString kWelcome = QStringLiteral("Hi, I'm Ann. How can I help?");

const CannedAnswers kAnswers = {
    {"Shipping", {{"Delay", "Sorry for the wait, it's on its way."}}, true},
};

// What the server received of one code, each message's fields as "a|b|c"; callId 0 takes the
// operator connections, any other that call's channels.
QStringList ServerGot(CSimWorld& world, int code, int callId = 0)
{
    QStringList got;
    for (const SimReceived& r : world.Received()) {
        if (r.code != code || r.callId != callId)
            continue;
        CSocketMessage m;
        m.Assign(r.payload);
        QStringList fields;
        for (int f = 1; f <= m.FieldCount(); ++f)
            fields << QString::fromStdString(std::string(m.FieldView(f)));
        got << fields.join(QLatin1Char('|'));
    }
    return got;
}

QStringList TranscriptLines(const CChatDlg& chat)
{
    QStringList lines;
    const QTextDocument* document = chat.Transcript()->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        if (!block.text().isEmpty())
            lines << block.text();
    return lines;
}

// The format of the first block showing exactly text.
QTextCharFormat LineFormat(const CChatDlg& chat, const QString& text)
{
    const QTextDocument* document = chat.Transcript()->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        if (block.text() == text)
            return block.begin().fragment().charFormat();
    return {};
}

// The modal dialog of type T that a command just opened, or null.
template <typename T> T* OpenDialog(const QWidget& owner)
{
    T* dialog = owner.findChild<T*>();
    return dialog && dialog->isVisible() ? dialog : nullptr;
}

} // namespace

class OperatorDayTest final : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CConsoleRig> m_rig;
    std::unique_ptr<COperatorSession> m_colleague;
    SoundLog m_sound;
    QString m_shotsDir = qEnvironmentVariable("PARLENDO_SHOTS_DIR");

    COperatorDlg& Window() { return *m_rig->window; }
    CSimWorld& World() { return m_rig->server->World(); }

    // Grabs the widget as docs/screenshots/day-<name>.png when pictures are asked for.
    void Shot(QWidget* widget, const char* name)
    {
        if (m_shotsDir.isEmpty() || !widget)
            return;
        QCoreApplication::processEvents();
        const QString path = m_shotsDir + QStringLiteral("/day-%1.png").arg(QLatin1String(name));
        QVERIFY2(widget->grab().save(path), qPrintable(path));
    }

    // Bob, the second operator, signs in on a plain session of his own.
    void ColleagueLogsIn()
    {
        m_colleague = std::make_unique<COperatorSession>(300ms, 300ms);
        QCOMPARE(m_colleague->Login("127.0.0.1", static_cast<std::uint16_t>(m_rig->server->Port()),
                                    "bob", "pw-bob"),
                 0);
    }

    void LogInByHand()
    {
        Window().Toolbar()->Login()->click();
        auto* dialog = OpenDialog<CLoginDlg>(Window());
        QVERIFY(dialog);
        dialog->findChild<QLineEdit*>(QStringLiteral("username"))->setText(QStringLiteral("ann"));
        dialog->findChild<QLineEdit*>(QStringLiteral("password"))->setText(QStringLiteral("pw-ann"));
        dialog->accept();
        QTRY_COMPARE(Window().windowTitle(), kOnline);
        QTRY_COMPARE(Window().VisitorModel()->rowCount(), int(World().Visitors().size()));
    }

    // Types into the input box and presses Enter, as the operator does.
    static void TypeAndSend(CChatDlg& chat, const QString& text)
    {
        QTest::keyClicks(chat.InputBox(), text);
        QTest::keyClick(chat.InputBox(), Qt::Key_Return);
        QVERIFY(chat.InputBox()->toPlainText().isEmpty());
    }

    // Waits until the call's channel has received the chat data line "kind|name|text".
    void ExpectChatReceived(int callId, const QString& line)
    {
        QTRY_VERIFY2(ServerGot(World(), msg::kChatData, callId).contains(line), qPrintable(line));
    }

private slots:
    void init()
    {
        m_rig = std::make_unique<CConsoleRig>();
        m_sound = {};
        const QString canned = m_rig->folder.filePath(QStringLiteral("canned.dat"));
        QCOMPARE(SaveCannedAnswers(kAnswers, canned), 0);
        SetCannedAnswersFilePath(canned);
    }

    void cleanup()
    {
        // Chat windows end their calls while the session is still there, as the program does.
        for (const QPointer<QWidget>& chat : QList<QPointer<QWidget>>(Window().ChatWindows()))
            delete chat.data();
        QVERIFY(CChatConnector::WaitForThreads(10s));
        m_rig.reset();
        m_colleague.reset();
        SetCannedAnswersFilePath(QString());
    }

    void operatorDay()
    {
        // 1. Ann logs in at start-up; Bob is signed in already.
        m_rig->StartServer();
        ColleagueLogsIn();
        if (QTest::currentTestFailed())
            return;
        CAppSettings& settings = *m_rig->settings;
        settings.m_autoLogin = 1;
        settings.m_saveLogin = 1;
        settings.m_reconnect = 1;
        settings.m_showHints = 1;
        settings.m_notifyTimeout = 1000;
        settings.m_welcomeMsg = kWelcome;
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.keepAlivePeriod = 300ms;
        m_rig->MakeWindow(timings);
        Window().CallOffers()->Ring().SetSoundFactory(
            [this] { return std::make_unique<CCountingRing>(m_sound); });
        int chatsOpened = 0;
        Window().SetChatWindowFactory([this, &chatsOpened](int callId) {
            ++chatsOpened;
            CChatDlg::Open(*m_rig->settings, callId, Window().ChatWindows(), *m_rig->session,
                           *m_rig->profile, m_rig->notifier);
        });
        m_rig->ShowWindow();
        QTRY_COMPARE(Window().windowTitle(), kOnline);
        QTRY_COMPARE(Window().OperatorModel()->rowCount(), 2);
        QTRY_COMPARE(Window().VisitorModel()->rowCount(), 5);
        QVERIFY(Window().Toolbar()->Logout()->isEnabled());
        QVERIFY(!Window().Toolbar()->Login()->isEnabled());

        // 2. A visitor arrives: a popup announces them and the list shows them.
        QSignalSpy announced(m_rig->window.get(), &COperatorDlg::VisitorAnnounced);
        const std::int32_t visitorId = World().AddVisitor();
        QTRY_COMPARE(announced.count(), 1);
        QCOMPARE(announced.first().value(0).toInt(), visitorId);
        auto* popup = qobject_cast<CVisitorPopupDlg*>(announced.first().value(1).value<QWidget*>());
        QVERIFY(popup && popup->isVisible());
        CVisitorListModel* visitors = Window().VisitorModel();
        QCOMPARE(visitors->rowCount(), 6);
        const int row = visitors->RowOfId(visitorId);
        QVERIFY(row >= 0);
        Shot(popup, "2-popup");
        Shot(m_rig->window.get(), "1-main-visitors");

        // 3. Ann invites that visitor.
        CVisitorListCtrl* view = Window().VisitorsView();
        const QModelIndex visitorRow = visitors->index(row, 0);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(visitorRow).center());
        QCOMPARE(view->SelectedIds(), std::vector<std::int32_t>{visitorId});
        Window().Toolbar()->Invite()->click();
        QVERIFY(visitorRow.data(CVisitorListModel::InvitedRole).toBool());
        QTRY_COMPARE(ServerGot(World(), msg::kInviteVisitor).size(), 1);
        QVERIFY(ServerGot(World(), msg::kInviteVisitor)
                    .first()
                    .startsWith(QString::number(visitorId) + QLatin1Char('|')));
        QVERIFY(m_rig->notifier.informed.isEmpty());

        // 4. The visitor asks for a chat: the offer rings; Accept opens one chat window in the
        // call.
        const QString visitorName = QString::fromStdString([&] {
            for (const SimVisitor& v : World().Visitors())
                if (v.id == visitorId)
                    return v.name;
            return std::string();
        }());
        QVERIFY(!visitorName.isEmpty());
        QSignalSpy offered(Window().CallOffers(), &CCallOffers::Offered);
        const int callId = World().RequestChat(visitorId, m_rig->OperatorId());
        QVERIFY(callId > 0);
        QVERIFY(offered.wait(5000));
        const QPointer<CCallDlg> offer = offered.first().first().value<CCallDlg*>();
        QVERIFY(offer && offer->isVisible());
        QCOMPARE(offer->Notice(),
                 QStringLiteral("You have received a Parlendo call from %1.").arg(visitorName));
        QCOMPARE(offer->CallId(), callId);
        QCOMPARE(m_sound.played, 1);
        Shot(offer, "3-offer");
        offer->AcceptButton()->click();
        offer->AcceptButton()->click();
        QCOMPARE(chatsOpened, 1);
        QCOMPARE(Window().ChatWindows().size(), 1);
        QCOMPARE(m_sound.stopped, 1);
        QTRY_VERIFY(offer.isNull());
        const QPointer<CChatDlg> chat = qobject_cast<CChatDlg*>(Window().ChatWindows().first());
        QVERIFY(chat && chat->isVisible());
        QCOMPARE(chat->CallId(), callId);
        QTRY_VERIFY(chat->HoldsCall());
        QCOMPARE(chat->StatusLine()->text(), QStringLiteral("Connected to the Parlendo server."));
        QTRY_VERIFY(chat->windowTitle().contains(visitorName));

        // 5. The welcome goes out as stored; lines and typing notices both ways.
        ExpectChatReceived(callId, QStringLiteral("1|ann|") + kWelcome);
        QCOMPARE(TranscriptLines(*chat).mid(0, 2), (QStringList{"ann:", kWelcome}));
        QVERIFY(World().VisitorSays(callId, "My parcel hasn't arrived."));
        QTRY_VERIFY(TranscriptLines(*chat).contains(QStringLiteral("My parcel hasn't arrived.")));
        const QTextCharFormat name = LineFormat(*chat, visitorName + QLatin1Char(':'));
        QCOMPARE(name.foreground().color().rgb(), CTranscriptCtrl::kOtherNameColour);
        QVERIFY(name.fontWeight() >= QFont::Bold);
        QVERIFY(World().VisitorTypes(callId));
        QTRY_COMPARE(chat->StatusLine()->text(),
                     QStringLiteral("%1 is typing a message...").arg(visitorName));
        TypeAndSend(*chat, QStringLiteral("Let's have a look at it."));
        QTRY_VERIFY(ServerGot(World(), msg::kChatData, callId).contains(QStringLiteral("2|ann")));
        ExpectChatReceived(callId, QStringLiteral("1|ann|Let`s have a look at it."));
        QCOMPARE(TranscriptLines(*chat).last(), QStringLiteral("Let`s have a look at it."));

        // 6. A link through the URL dialog, then a canned answer picked in the panel.
        chat->OnSendLink();
        auto* urlDialog = OpenDialog<CUrlDlg>(*chat);
        QVERIFY(urlDialog);
        urlDialog->findChild<QLineEdit*>()->setText(QStringLiteral("shop.example.com/track"));
        Shot(urlDialog, "5-url");
        urlDialog->accept();
        ExpectChatReceived(callId,
                           QStringLiteral("1|ann|<a href='http://shop.example.com/track' "
                                          "target='_blank'>http://shop.example.com/track</a>"));
        QCOMPARE(TranscriptLines(*chat).last(), QStringLiteral("http://shop.example.com/track"));
        QVERIFY(chat->IsCannedShown() && chat->CannedTree()->isVisible()); // open from the start
        QAbstractItemModel* canned = chat->CannedTree()->model();
        const QModelIndex category = canned->index(0, 0);
        QCOMPARE(category.data().toString(), QStringLiteral("Shipping"));
        const QModelIndex delay = canned->index(0, 0, category);
        QCOMPARE(delay.data().toString(), QStringLiteral("Delay"));
        chat->CannedTree()->selectionModel()->setCurrentIndex(delay,
                                                              QItemSelectionModel::ClearAndSelect);
        QCOMPARE(chat->InputBox()->toPlainText(),
                 QStringLiteral("Sorry for the wait, it's on its way."));
        Shot(chat, "4-chat");
        QTest::keyClick(chat->InputBox(), Qt::Key_Return);
        ExpectChatReceived(callId, QStringLiteral("1|ann|Sorry for the wait, it`s on its way."));

        // 7. The transfer to Bob, whom the dialog lists; the notice comes with the server's
        // confirmation.
        chat->OnTransferChat();
        auto* invite = OpenDialog<CInviteDlg>(*chat);
        QVERIFY(invite);
        QTRY_COMPARE(invite->List()->model()->rowCount(), 1);
        QVERIFY(invite->List()->model()->index(0, 0).data().toString().contains(
            QStringLiteral("Bob")));
        invite->List()->setCurrentIndex(invite->List()->model()->index(0, 0));
        Shot(invite, "6-invite");
        invite->accept();
        const int bobId = m_colleague->OperatorId();
        QTRY_COMPARE(ServerGot(World(), msg::kTransferCall, callId),
                     QStringList{QString::number(bobId) + QStringLiteral("|invitation")});
        QTRY_VERIFY(TranscriptLines(*chat).contains(
            QStringLiteral("Bob Stone has been invited to join this call")));

        // 8. The visitor leaves; Ann saves the transcript.
        QVERIFY(World().VisitorLeavesCall(callId));
        QTRY_VERIFY(TranscriptLines(*chat).contains(visitorName +
                                                    QStringLiteral(" has left this call")));
        QTRY_COMPARE(TranscriptLines(*chat).last(), QStringLiteral("This call has been closed."));
        QVERIFY(!chat->HoldsCall());
        QCOMPARE(chat->windowTitle(), QStringLiteral("Parlendo - Chat closed"));
        Shot(chat, "7-chat-closed");
        const QString saved = m_rig->folder.filePath(QStringLiteral("day.rtf"));
        chat->OnSaveChat();
        auto* saveDialog = OpenDialog<QFileDialog>(*chat);
        QVERIFY(saveDialog);
        saveDialog->selectFile(saved);
        static_cast<QDialog*>(saveDialog)->accept(); // the dialog's own Save
        QTRY_VERIFY(QFileInfo(saved).size() > 0);
        QVERIFY(m_rig->notifier.informed.isEmpty());
        CheckSavedTranscript(saved, {kWelcome, "My parcel hasn't arrived.",
                                     "Let`s have a look at it.", "http://shop.example.com/track",
                                     "Bob Stone has been invited to join this call",
                                     "This call has been closed."});

        // 9. Log-out and log-in again; then the server restarts and the console comes back.
        Window().Toolbar()->Logout()->click();
        QTRY_COMPARE(Window().windowTitle(), kNotConnected);
        QCOMPARE(Window().VisitorModel()->rowCount(), 0);
        QVERIFY(Window().Toolbar()->Login()->isEnabled());
        LogInByHand();
        if (QTest::currentTestFailed())
            return;
        const std::uint16_t port = static_cast<std::uint16_t>(m_rig->server->Port());
        QSignalSpy shown(m_rig->window.get(), &COperatorDlg::ConnectionShown);
        m_rig->server->Stop();
        QTRY_VERIFY(!shown.isEmpty());
        QCOMPARE(shown.first().value(0).toString(), kNotConnected);
        SimOptions options = CConsoleRig::ServerOptions();
        options.port = port;
        m_rig->server = std::make_unique<CSimServer>(options);
        QCOMPARE(m_rig->server->Start(), int(port));
        QTRY_COMPARE_WITH_TIMEOUT(Window().windowTitle(), kOnline, 10000);
        QTRY_COMPARE(Window().VisitorModel()->rowCount(), 5);
        QVERIFY(m_rig->OperatorId() > 0);
        // The reconnection told the operator nothing in a message box.
        QVERIFY(m_rig->notifier.informed.isEmpty());
        QVERIFY(chat); // the closed chat window stays with its transcript
    }

private:
    // The saved file is rich text holding every line; read back as text where unrtf is there.
    static void CheckSavedTranscript(const QString& path, const QStringList& lines)
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().startsWith("{\\rtf"));
        const QString unrtf = QStandardPaths::findExecutable(QStringLiteral("unrtf"));
        if (unrtf.isEmpty()) {
            qInfo("unrtf is not installed: the saved lines are not read back");
            return;
        }
        QProcess reader;
        reader.start(unrtf, {QStringLiteral("--text"), path});
        QVERIFY(reader.waitForFinished(10000));
        const QString text = QString::fromUtf8(reader.readAllStandardOutput());
        for (const QString& line : lines)
            QVERIFY2(text.contains(line), qPrintable(line + QStringLiteral(" in:\n") + text));
    }
};

QTEST_MAIN(OperatorDayTest)
#include "operator_day_test.moc"
