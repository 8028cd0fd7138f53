// The chat window against the simulated server: opening, the welcome message, lines and typing
// notices both ways on an injected clock, composition of text, links and images, participants
// coming and going and the title, the transfer through the invite dialog, Close Chat and a lost
// connection, a line that could not be delivered, a refused opening, and where the window is
// stored when it closes.
#include "call_session.h"
#include "chat_dlg.h"
#include "day_stage.h"
#include "flat_button.h"
#include "message_codes.h"
#include "recording_notifier.h"
#include "result_codes.h"
#include "result_text.h"
#include "transcript_ctrl.h"
#include "url_dlg.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTextEdit>
#include <QTimer>
#include <QTreeView>

using namespace std::chrono_literals;

class ChatDlgTest final : public QObject
{
    Q_OBJECT

private:
    CRecordingNotifier m_notifier;
    std::unique_ptr<CDayStage> m_stage;
    std::int64_t m_now = 1'000'000;
    int m_callId = 0;
    QString m_visitor;

    CSimWorld& World() { return m_stage->World(); }

    // A chat window on the call the first visitor asks Ann for, timed by the test's clock.
    CChatDlg* Open(int callId = 0, int kind = CIncomingCall::kKindCall)
    {
        const SimVisitor visitor = World().Visitors().front();
        m_visitor = QString::fromStdString(visitor.name);
        m_callId = callId ? callId : World().RequestChat(visitor.id, day::SignedInId(World()));
        CChatDlg* chat = m_stage->OpenChat(m_callId, kind);
        chat->SetClock([this] { return m_now; });
        return chat;
    }
    // Open, then waits until the window is in the call and has heard who is in it.
    CChatDlg* InTheCall()
    {
        CChatDlg* chat = Open();
        if (!QTest::qWaitFor([&] { return chat->windowTitle() == Title(); }))
            return nullptr;
        return chat;
    }
    QString Title() const { return QStringLiteral("Parlendo - ") + m_visitor; }
    QStringList ServerLines() { return day::ServerReceived(World(), msg::kChatData, m_callId); }

    static QStringList Lines(const CChatDlg* chat)
    {
        return chat->findChild<QTextEdit*>(QStringLiteral("transcript"))
            ->toPlainText()
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    }
    static QString Status(const CChatDlg* chat)
    {
        return chat->findChild<QLabel*>(QStringLiteral("statusLine"))->text();
    }
    static QPlainTextEdit* Input(const CChatDlg* chat)
    {
        return chat->findChild<QPlainTextEdit*>(QStringLiteral("input"));
    }
    static void Click(const CChatDlg* chat, const char* button)
    {
        chat->findChild<CFlatButton*>(QLatin1String(button))->click();
    }
    static QTimer* TypingTimer(const CChatDlg* chat)
    {
        for (QTimer* timer : chat->findChildren<QTimer*>())
            if (timer->interval() == CChatDlg::kTypingTimerMs && timer->parent() == chat)
                return timer;
        return nullptr;
    }

private slots:
    // Every flow runs in a window of its own and as a tab of the chats' window.
    void initTestCase_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::newRow("window") << 0;
        QTest::newRow("tab") << 1;
    }
    void init()
    {
        m_notifier.informed.clear();
        m_notifier.asked.clear();
        m_notifier.yes = false;
        m_stage = std::make_unique<CDayStage>(m_notifier);
        QVERIFY(m_stage->StartServer());
        m_stage->settings.m_welcomeMsg.clear();
        QFETCH_GLOBAL(int, tabs);
        m_stage->settings.m_chatTabs = tabs;
        QCOMPARE(m_stage->session.Login("127.0.0.1",
                                        static_cast<std::uint16_t>(m_stage->settings.m_serverPort),
                                        day::kUser, day::kPassword),
                 0);
    }
    void cleanup() { m_stage.reset(); }

    // The window is there at once, connecting; in the call it sends the welcome as stored (not
    // to a visitor greeted before the transfer), shows who is there, and lines go both ways.
    void openingAndLinesBothWays_data()
    {
        QTest::addColumn<QString>("welcome");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("times"); // shown before each line's heading
        const QString welcome = QStringLiteral("Hi, I'm Ann's helper");
        QTest::newRow("a welcome message") << welcome << CIncomingCall::kKindCall << 0;
        QTest::newRow("none") << QString() << CIncomingCall::kKindCall << 0;
        QTest::newRow("a transferred chat") << welcome << CIncomingCall::kKindTransfer << 0;
        QTest::newRow("times shown") << welcome << CIncomingCall::kKindCall << 1;
    }
    void openingAndLinesBothWays()
    {
        QFETCH(QString, welcome);
        QFETCH(int, kind);
        QFETCH(int, times);
        m_stage->settings.m_welcomeMsg = welcome;
        m_stage->settings.m_transcriptTimes = times;
        CChatDlg* chat = Open(0, kind);
        QCOMPARE(chat->windowTitle(), QStringLiteral("Parlendo - Connecting"));
        QCOMPARE(Status(chat), QStringLiteral("Connecting to the Parlendo server..."));
        QTRY_COMPARE(chat->windowTitle(), Title());
        QCOMPARE(Status(chat), QStringLiteral("Connected to the Parlendo server."));
        QVERIFY(World().VisitorSays(m_callId, "Where is my parcel?"));
        QTRY_VERIFY(Lines(chat).contains(QStringLiteral("Where is my parcel?")));
        QTest::keyClicks(Input(chat), QStringLiteral("It's on its way"));
        QTest::keyClick(Input(chat), Qt::Key_Return);
        QVERIFY(Input(chat)->toPlainText().isEmpty());

        QStringList sent = {QStringLiteral("1|ann|It`s on its way")};
        QStringList shown = {m_visitor + QStringLiteral(" has joined this call"), m_visitor + ':',
                             QStringLiteral("Where is my parcel?"), QStringLiteral("ann:"),
                             QStringLiteral("It`s on its way")};
        if (!welcome.isEmpty() && kind == CIncomingCall::kKindCall) {
            sent.prepend(QStringLiteral("1|ann|") + welcome);
            shown = QStringList{QStringLiteral("ann:"), welcome} + shown;
        }
        QTRY_COMPARE(ServerLines().filter(QStringLiteral("1|ann|")), sent);
        // Each heading carries its time only when the operator wants times; the saved and
        // printed transcript follows the same setting.
        const QRegularExpression stamp(QStringLiteral("^\\d\\d:\\d\\d:\\d\\d "));
        QStringList lines = Lines(chat);
        const qsizetype stamped = lines.filter(stamp).size();
        QCOMPARE(lines.replaceInStrings(stamp, QString()), shown);
        const QRegularExpression heading(QStringLiteral(":$|has joined this call$"));
        QCOMPARE(stamped, times ? shown.filter(heading).size() : 0);
        auto* transcript = chat->findChild<CTranscriptCtrl*>(QStringLiteral("transcript"));
        const QString paper = transcript->PaperDocument().toPlainText();
        QCOMPARE(paper.split(u'\n', Qt::SkipEmptyParts).filter(stamp).size(), stamped);
        QVERIFY(m_notifier.informed.isEmpty());
    }

    // What goes on the wire for typed text, links and images, and what the transcript shows.
    void composition_data()
    {
        QTest::addColumn<QString>("button"); // empty: typed into the input box
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("shown");
        QTest::newRow("apostrophes") << ""
                                     << "it's 'fine'"
                                     << "it`s `fine`"
                                     << "it`s `fine`";
        QTest::newRow("the field delimiter") << ""
                                             << "a <~> b"
                                             << "a &lt;~&gt; b"
                                             << "a <~> b";
        QTest::newRow("link with quotes and markup")
            << "sendLink"
            << "example.com/?q='a'&b=<c>"
            << "<a href='http://example.com/?q=&#39;a&#39;&amp;b=&lt;c&gt;' target='_blank'>"
               "http://example.com/?q=&#39;a&#39;&amp;b=&lt;c&gt;</a>"
            << "http://example.com/?q='a'&b=<c>";
        QTest::newRow("mail link kept as typed")
            << "sendLink"
            << "mailto:ann@example.com"
            << "<a href='mailto:ann@example.com' target='_blank'>mailto:ann@example.com</a>"
            << "mailto:ann@example.com";
        QTest::newRow("image not on http") << "sendImage"
                                           << "ftp:x.org/a.png"
                                           << "<img src='http://ftp:x.org/a.png'></img>"
                                           << "http://ftp:x.org/a.png";
    }
    void composition()
    {
        QFETCH(QString, button);
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QFETCH(QString, shown);
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        if (button.isEmpty()) {
            Input(chat)->setPlainText(typed);
            QTest::keyClick(Input(chat), Qt::Key_Return);
        } else {
            Click(chat, button.toLatin1().constData());
            auto* dialog = chat->findChild<CUrlDlg*>();
            QVERIFY(dialog && dialog->isVisible());
            dialog->findChild<QLineEdit*>()->setText(typed);
            dialog->accept();
        }
        QTRY_COMPARE(ServerLines().filter(QStringLiteral("1|ann|")), QStringList{"1|ann|" + sent});
        QCOMPARE(Lines(chat).mid(1), (QStringList{QStringLiteral("ann:"), shown}));
    }

    // Typing notices go out at once when Ann starts and then at most one every 3 s.
    void typingNotices_data()
    {
        QTest::addColumn<QList<int>>("seconds");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("notices");
        const int a = Qt::Key_A;
        QTest::newRow("a key held down") << QList<int>{0, 0, 1, 2} << QList<int>{a, a, a, a} << 1;
        QTest::newRow("one every 3 s at most")
            << QList<int>{0, 3, 5, 6, 8, 9} << QList<int>{a, a, a, a, a, a} << 4;
        QTest::newRow("any other key counts")
            << QList<int>{0, 3} << QList<int>{Qt::Key_Left, Qt::Key_Shift} << 2;
        QTest::newRow("Enter sends no notice") << QList<int>{0} << QList<int>{Qt::Key_Return} << 0;
    }
    void typingNotices()
    {
        QFETCH(QList<int>, seconds);
        QFETCH(QList<int>, keys);
        QFETCH(int, notices);
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        const std::int64_t start = m_now;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            m_now = start + seconds[i];
            QTest::keyClick(Input(chat), Qt::Key(keys[i]));
        }
        Input(chat)->setPlainText(QStringLiteral("end")); // queued behind every notice
        QTest::keyClick(Input(chat), Qt::Key_Return);
        QTRY_VERIFY(ServerLines().contains(QStringLiteral("1|ann|end")));
        QCOMPARE(ServerLines().filter(QStringLiteral("2|ann")).size(), notices);
    }

    // The visitor's typing shows until a tick of the window's timer 4 s or more after it came.
    void visitorTypingShowsUntilFourSecondsHavePassed()
    {
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        QSignalSpy ticks(TypingTimer(chat), &QTimer::timeout);
        World().VisitorTypes(m_callId);
        const QString typing = m_visitor + QStringLiteral(" is typing a message...");
        QTRY_COMPARE(Status(chat), typing);
        m_now += 3;
        QVERIFY(ticks.wait());
        QCOMPARE(Status(chat), typing);
        m_now += 1;
        QVERIFY(ticks.wait());
        QCOMPARE(Status(chat), QString());
    }

    // Ann invites Bob from the transfer dialog; he joins and leaves again: the notices and the
    // title follow.
    void transferAndParticipants()
    {
        COperatorSession bob(300ms, 300ms);
        QCOMPARE(bob.Login("127.0.0.1", static_cast<std::uint16_t>(m_stage->settings.m_serverPort),
                           day::kColleague, day::kColleaguePassword),
                 0);
        QVERIFY(m_stage->session.RequestOperators() > 0);
        QTRY_COMPARE(m_stage->session.Operators().Count(), 2);
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        Click(chat, "transferChat");
        auto* dialog = chat->findChild<QDialog*>();
        auto* operators = dialog->findChild<QTreeView*>(QStringLiteral("operators"));
        QCOMPARE(operators->model()->rowCount(), 1); // Ann herself is left out
        operators->setCurrentIndex(operators->model()->index(0, 0));
        dialog->accept();
        QTRY_COMPARE(day::ServerReceived(World(), msg::kTransferCall, m_callId),
                     QStringList{QStringLiteral("%1|invitation").arg(bob.OperatorId())});
        QTRY_VERIFY(
            Lines(chat).contains(QStringLiteral("Bob Stone has been invited to join this call")));

        QCOMPARE(bob.Calls().OpenCall(m_callId), 0);
        QTRY_COMPARE(chat->windowTitle(), Title() + QStringLiteral(", Bob Stone"));
        QCOMPARE(bob.Calls().CloseCall(m_callId), 0);
        QTRY_COMPARE(chat->windowTitle(), Title());
        QCOMPARE(Lines(chat).mid(1),
                 (QStringList{"Bob Stone has been invited to join this call",
                              "Bob Stone has joined this call", "Bob Stone has left this call"}));
    }

    // Whoever ends the call, the window says so once, shows it closed for good (a late tick of
    // the typing timer does not wipe it) and keeps its transcript and what is typed after.
    void endOfTheCall_data()
    {
        QTest::addColumn<bool>("byAnn");
        QTest::newRow("Close Chat, twice") << true;
        QTest::newRow("the connection is lost") << false;
    }
    void endOfTheCall()
    {
        QFETCH(bool, byAnn);
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        World().VisitorTypes(m_callId);
        QTRY_VERIFY(Status(chat).endsWith(QStringLiteral("is typing a message...")));
        if (byAnn) {
            Click(chat, "closeChat");
            Click(chat, "closeChat");
        } else {
            QVERIFY(World().InjectCallFault(m_callId, SimFaultKind::Reset));
        }
        const QString notice = byAnn ? QStringLiteral("You have closed this call.")
                                     : QStringLiteral("This call has been closed.");
        QTRY_COMPARE(chat->windowTitle(), QStringLiteral("Parlendo - Chat closed"));
        QTRY_COMPARE(m_stage->session.Calls().Count(), byAnn ? 0 : 1);
        QCOMPARE(Status(chat), QStringLiteral("Chat closed"));
        QVERIFY(!TypingTimer(chat)->isActive()); // nothing will wipe "Chat closed"
        Click(chat, "closeChat");
        QCOMPARE(Lines(chat).mid(1), QStringList{notice});
        QCOMPARE(Status(chat), QStringLiteral("Chat closed"));
        if (byAnn)
            QTRY_VERIFY(World().Calls().empty() || World().Calls().front().members.empty());
        // What is typed now stays: Enter says why it cannot go, and the commands that would
        // send are off.
        Input(chat)->setPlainText(QStringLiteral("one more thing"));
        QTest::keyClick(Input(chat), Qt::Key_Return);
        QCOMPARE(Input(chat)->toPlainText(), QStringLiteral("one more thing"));
        QCOMPARE(Status(chat), QStringLiteral("Not sent: this chat has ended."));
        for (const char* command : {"send", "sendLink", "sendImage", "transferChat"})
            QVERIFY2(!chat->findChild<CFlatButton*>(QLatin1String(command))->isEnabled(), command);
    }

    // The call's channel stops under the window before the window has heard of it: the line
    // sent then is marked as not delivered, once, and the one delivered before is not.
    void undeliveredLineIsMarked()
    {
        CChatDlg* chat = InTheCall();
        QVERIFY(chat);
        Input(chat)->setPlainText(QStringLiteral("hello"));
        QTest::keyClick(Input(chat), Qt::Key_Return);
        QTRY_VERIFY(ServerLines().contains(QStringLiteral("1|ann|hello")));
        m_stage->session.Calls().Find(m_callId)->Channels().Find(0)->Close(
            CCallSession::kReasonClosed);
        Input(chat)->setPlainText(QStringLiteral("are you there?"));
        QTest::keyClick(Input(chat), Qt::Key_Return);
        QTRY_COMPARE(chat->windowTitle(), QStringLiteral("Parlendo - Chat closed"));
        QTRY_COMPARE(Lines(chat).mid(1),
                     (QStringList{"ann:", "hello", "ann:", "are you there?",
                                  "This message could not be delivered: are you there?"}));
        QCoreApplication::processEvents();
        QCOMPARE(Lines(chat).size(), 6);
    }

    void refusedOpening()
    {
        CChatDlg* chat = Open(999);
        QTRY_COMPARE(chat->windowTitle(), QStringLiteral("Parlendo - Error"));
        QCOMPARE(Status(chat), QStringLiteral("Failed to conect to the Parlendo server."));
        QCOMPARE(m_notifier.informed, QStringList{QStringLiteral("Failed to start the chat.\r\n") +
                                                  ResultText(rc::kCallNotFound)});
    }

    // A live chat ends only when the operator says so; then the close box stores where the
    // window was, and Escape closes it without storing (the chats' window of tabs keeps its own
    // place however its last chat went). An ended chat closes without a question.
    void placementOnClose_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Escape") << true;
    }
    void placementOnClose()
    {
        QFETCH(bool, escape);
        QPointer<CChatDlg> chat = InTheCall();
        QVERIFY(chat);
        QFETCH_GLOBAL(int, tabs);
        chat->window()->setGeometry(120, 90, 700, 455);
        chat->close();
        QCOMPARE(m_notifier.asked.size(), 1);
        QVERIFY(m_notifier.asked.front().endsWith(
            QStringLiteral("End the chat with %1?").arg(m_visitor)));
        QVERIFY(chat);
        const QPointer<QWidget> window = chat->window();
        m_notifier.yes = true;
        if (escape) {
            chat->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(chat));
            // Escape closes the canned answers' list that "/" opened, and nothing else.
            QTest::keyClick(Input(chat), Qt::Key_Slash);
            auto* completions =
                chat->window()->findChild<QWidget*>(QStringLiteral("cannedCompletions"));
            QTRY_VERIFY(completions && completions->isVisible());
            QTest::keyClick(Input(chat), Qt::Key_Escape);
            QTRY_VERIFY(!completions->isVisible());
            QCOMPARE(m_notifier.asked.size(), 1);
            QCOMPARE(Input(chat)->toPlainText(), QStringLiteral("/"));
            QTest::keyClick(Input(chat), Qt::Key_Escape);
        } else {
            chat->close();
        }
        QTRY_VERIFY(!chat);
        QTRY_VERIFY(!window || !window->isVisible()); // no empty window of tabs is left
        const auto stored = m_stage->profile.LoadWindowPlacement(QStringLiteral("ChatWindow"));
        QCOMPARE(stored.has_value(), !escape || tabs);
        if (stored)
            QCOMPARE(stored->NormalRect().size(), QSize(700, 455));
        QCOMPARE(m_notifier.asked.size(), 2);
        // The call went with the window.
        QTRY_COMPARE(m_stage->session.Calls().Count(), 0);

        m_notifier.yes = false;
        QPointer<CChatDlg> ended = InTheCall();
        Click(ended, "closeChat");
        ended->close();
        QTRY_VERIFY(!ended);
        QCOMPARE(m_notifier.asked.size(), 2);
    }
};

QTEST_MAIN(ChatDlgTest)
#include "chat_dlg_test.moc"
