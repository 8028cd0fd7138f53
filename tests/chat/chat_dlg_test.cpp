// The chat window against the fake chat server: opening the call off the window thread, the
// states and their texts, the welcome message, typing notices both ways, participants, closing
// from either side, lines the connection could not send, the transfer, layout and placement.
#include "chat_connector.h"
#include "chat_dlg.h"
#include "chat_rig.h"
#include "file_helpers.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "message_codes.h"
#include "result_codes.h"
#include "transcript_ctrl.h"
#include "url_dlg.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextBlock>
#include <QTreeView>
#include <QtTest>
#include <atomic>
#include <future>
#include <thread>

using namespace testing_support;
using namespace std::chrono_literals;

namespace {

constexpr int kCallId = 5;

std::string Chat(int kind, const std::string& speaker, const std::string& text = {})
{
    return PayloadOf(msg::kChatData, {std::to_string(kind), speaker, text});
}

// "id,type,status,first,last;..." as participant entries.
std::vector<CUserEntry> Entries(const QString& records)
{
    std::vector<CUserEntry> entries;
    for (const QString& record : records.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = record.split(QLatin1Char(','));
        CUserEntry e;
        e.id = f[0].toInt();
        e.type = f[1].toInt();
        e.status = f[2].toInt();
        e.number = 100 + e.id;
        e.text2 = f[3].toStdString();
        e.text3 = f[4].toStdString();
        entries.push_back(e);
    }
    return entries;
}

QStringList LinesLike(const CChatDlg& window, const QString& part)
{
    return TranscriptLines(window).filter(part);
}

QRgb LastLineColour(const CChatDlg& window)
{
    const QTextBlock last = window.Transcript()->document()->lastBlock();
    return last.begin().fragment().charFormat().foreground().color().rgb();
}

} // namespace

class ChatDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void startFailure_data()
    {
        QTest::addColumn<bool>("alreadyOpen");
        QTest::addColumn<int>("code");
        QTest::newRow("call already open here") << true << rc::kCallNotFound;
        QTest::newRow("server refuses the channel") << false << rc::kBadInvitation;
    }
    void startFailure()
    {
        QFETCH(bool, alreadyOpen);
        QFETCH(int, code);
        CChatRig rig;
        if (alreadyOpen)
            QVERIFY(rig.Connected(kCallId));
        else
            rig.server.Answer(msg::kOpenMainChannel,
                              PayloadOf(msg::kReplyFailed, {std::to_string(code)}));

        CChatDlg* window = rig.Open(kCallId);
        QCOMPARE(window->windowTitle(), QStringLiteral("Parlendo - Connecting"));
        QCOMPARE(window->StatusLine()->text(),
                 QStringLiteral("Connecting to the Parlendo server..."));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Parlendo - Error"));
        QCOMPARE(window->StatusLine()->text(),
                 QStringLiteral("Failed to conect to the Parlendo server."));
        QCOMPARE(rig.notifier.informed,
                 QStringList{QStringLiteral("Failed to start the chat.\r\n") +
                             QString::fromUtf8(ResultMessage(code))});
        QVERIFY(!window->HoldsCall());
        QCOMPARE(rig.windows.size(), alreadyOpen ? 2 : 1);
    }

    // A welcome message goes out as stored, apostrophes and all; an empty one sends nothing.
    void welcomeMessage_data()
    {
        QTest::addColumn<QString>("welcome");
        QTest::addColumn<QStringList>("received");
        QTest::addColumn<QStringList>("shown");
        const QString hello = QStringLiteral("Hi, I'm Ann's helper");
        QTest::newRow("stored text") << hello << QStringList{"1|Ann|" + hello, "1|Ann|ping"}
                                     << QStringList{"Ann:", hello, "Ann:", "ping"};
        QTest::newRow("empty") << QString() << QStringList{"1|Ann|ping"}
                               << QStringList{"Ann:", "ping"};
    }
    void welcomeMessage()
    {
        QFETCH(QString, welcome);
        QFETCH(QStringList, received);
        QFETCH(QStringList, shown);
        CChatRig rig;
        rig.settings.m_welcomeMsg = welcome;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        window->InputBox()->setPlainText(QStringLiteral("ping"));
        window->OnSend();
        QVERIFY(window->InputBox()->toPlainText().isEmpty());
        QVERIFY(rig.WaitReceived(kCallId, msg::kChatData, static_cast<int>(received.size())));
        QCOMPARE(rig.ChatReceived(kCallId), received);
        QCOMPARE(TranscriptLines(*window), shown);
    }

    // Typed text loses its apostrophes; links and images go out as escaped HTML while the
    // transcript shows the address as it will be opened.
    void sentLines_data()
    {
        QTest::addColumn<int>("command"); // 0 typed, 1 link, 2 image
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("sent");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QRgb>("colour");
        QTest::newRow("typed text") << 0 << "it's 'fine'"
                                    << "it`s `fine`"
                                    << "it`s `fine`" << CTranscriptCtrl::kChatTextColour;
        QTest::newRow("field delimiter typed") << 0 << "a <~> b"
                                               << "a &lt;~&gt; b"
                                               << "a <~> b" << CTranscriptCtrl::kChatTextColour;
        QTest::newRow("link with quotes and markup")
            << 1 << "example.com/?q='a'&b=<c>"
            << "<a href='http://example.com/?q=&#39;a&#39;&amp;b=&lt;c&gt;' target='_blank'>"
               "http://example.com/?q=&#39;a&#39;&amp;b=&lt;c&gt;</a>"
            << "http://example.com/?q='a'&b=<c>" << CTranscriptCtrl::kAddressColour;
        QTest::newRow("image not on http")
            << 2 << "ftp:x.org/a.png"
            << "<img src='http://ftp:x.org/a.png'></img>"
            << "http://ftp:x.org/a.png" << CTranscriptCtrl::kAddressColour;
    }
    void sentLines()
    {
        QFETCH(int, command);
        QFETCH(QString, typed);
        QFETCH(QString, sent);
        QFETCH(QString, shown);
        QFETCH(QRgb, colour);
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        if (command == 0) {
            window->InputBox()->setPlainText(typed);
            window->OnSend();
        } else {
            command == 1 ? window->OnSendLink() : window->OnSendImage();
            auto* dialog = window->findChild<CUrlDlg*>();
            QVERIFY(dialog);
            dialog->findChild<QLineEdit*>()->setText(typed);
            dialog->accept();
        }
        QVERIFY(rig.WaitReceived(kCallId, msg::kChatData, 1));
        QCOMPARE(rig.ChatReceived(kCallId), QStringList{"1|Ann|" + sent});
        QCOMPARE(TranscriptLines(*window), (QStringList{"Ann:", shown}));
        QCOMPARE(LastLineColour(*window), colour);
    }

    void typingThrottle_data()
    {
        QTest::addColumn<QList<int>>("seconds");
        QTest::addColumn<QList<int>>("keys");
        QTest::addColumn<int>("notices");
        const int a = Qt::Key_A;
        QTest::newRow("key held down") << QList<int>{0, 0, 1, 2} << QList<int>{a, a, a, a} << 1;
        QTest::newRow("one every 3 s at most")
            << QList<int>{0, 3, 5, 6, 8, 9} << QList<int>{a, a, a, a, a, a} << 4;
        QTest::newRow("Enter sends none") << QList<int>{0} << QList<int>{int(Qt::Key_Return)} << 0;
        QTest::newRow("any other key counts")
            << QList<int>{0, 3} << QList<int>{int(Qt::Key_Left), int(Qt::Key_Shift)} << 2;
    }
    void typingThrottle()
    {
        QFETCH(QList<int>, seconds);
        QFETCH(QList<int>, keys);
        QFETCH(int, notices);
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        const std::int64_t start = rig.now;
        for (qsizetype i = 0; i < keys.size(); ++i) {
            rig.now = start + seconds[i];
            QTest::keyClick(window->InputBox(), Qt::Key(keys[i]));
        }
        // A last line, queued behind every notice.
        window->InputBox()->setPlainText(QStringLiteral("end"));
        window->OnSend();
        QVERIFY(rig.WaitReceived(kCallId, msg::kChatData, notices + 1));
        QCOMPARE(rig.ChatReceived(kCallId).filter(QStringLiteral("2|Ann")).size(), notices);
        QCOMPARE(rig.ChatReceived(kCallId).last(), QStringLiteral("1|Ann|end"));
    }

    // The "is typing" line stays until the first tick 4 s or more after the notice; a chat line
    // in between does not remove it.
    void typingLineClearedAfterFourSeconds()
    {
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        const std::int64_t start = rig.now;
        rig.Channel(kCallId)->Send(Chat(msg::chat::kTyping, "Mia"));
        QTRY_COMPARE(window->StatusLine()->text(), QStringLiteral("Mia is typing a message..."));
        rig.Channel(kCallId)->Send(Chat(msg::chat::kLine, "Mia", "hello"));
        QTRY_COMPARE(TranscriptLines(*window), (QStringList{"Mia:", "hello"}));
        for (int elapsed : {1, 3}) {
            rig.now = start + elapsed;
            window->OnTypingTimer();
            QCOMPARE(window->StatusLine()->text(), QStringLiteral("Mia is typing a message..."));
        }
        rig.now = start + 4;
        window->OnTypingTimer();
        QCOMPARE(window->StatusLine()->text(), QString());
    }

    // The answer to the participants request: the operator's own record and absent participants
    // are left out of the title and the notices; the answer does not flash the window.
    void participants_data()
    {
        QTest::addColumn<QString>("list");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QStringList>("notices");
        QTest::newRow("others present")
            << "1001,1,1,Mia,;7,2,1,Ann,Lee;8,2,0,Bob,Stone;9,2,2,Cy,Reed"
            << "Parlendo - Mia, Cy Reed"
            << QStringList{"Mia has joined this call", "Cy Reed has joined this call"};
        QTest::newRow("visitor numbered like the operator")
            << "7,1,1,Lena,;7,2,1,Ann,Lee"
            << "Parlendo - Lena" << QStringList{"Lena has joined this call"};
        QTest::newRow("no one else") << "7,2,1,Ann,Lee"
                                     << "Parlendo" << QStringList{};
    }
    void participants()
    {
        QFETCH(QString, list);
        QFETCH(QString, title);
        QFETCH(QStringList, notices);
        CChatRig rig;
        rig.server.SetParticipantsReply(ParticipantsReply(Entries(list)));
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        QSignalSpy flashed(window, &CChatDlg::Flashed);
        QTRY_COMPARE(window->windowTitle(), title);
        QCOMPARE(TranscriptLines(*window), notices);
        QCOMPARE(flashed.size(), 0);
    }

    void joinAndLeave()
    {
        CChatRig rig;
        rig.server.SetParticipantsReply(
            ParticipantsReply(Entries(QStringLiteral("1001,1,1,Mia,"))));
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Parlendo - Mia"));
        QSignalSpy flashed(window, &CChatDlg::Flashed);
        rig.Channel(kCallId)->Send(PayloadOf(msg::kEvent, {"2003", "9", "2", "109", "Cy", "Reed"}));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Parlendo - Mia, Cy Reed"));
        rig.Channel(kCallId)->Send(PayloadOf(msg::kEvent, {"2004", "1001", "1"}));
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Parlendo - Cy Reed"));
        QCOMPARE(TranscriptLines(*window),
                 (QStringList{"Mia has joined this call", "Cy Reed has joined this call",
                              "Mia has left this call"}));
        QCOMPARE(flashed.size(), 2);
    }

    // Close Chat twice: one notice, written once the window shows the call closed.
    void closeChatTwice()
    {
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        QString titleAtLastLine;
        connect(window->Transcript()->document(), &QTextDocument::contentsChanged, window,
                [&] { titleAtLastLine = window->windowTitle(); });
        window->OnCloseChat();
        window->OnCloseChat();
        QVERIFY(rig.Channel(kCallId)->WaitEnded());
        QCoreApplication::processEvents(); // the close reports queued meanwhile
        QCOMPARE(TranscriptLines(*window), QStringList{"You have closed this call."});
        QCOMPARE(titleAtLastLine, QStringLiteral("Parlendo - Chat closed"));
        QCOMPARE(window->StatusLine()->text(), QStringLiteral("Chat closed"));
        QVERIFY(!window->HoldsCall());
        QCOMPARE(rig.session->Calls().Count(), 0);
    }

    // The server ends the call: one notice, the closed state, and the typing timer no longer
    // wipes "Chat closed".
    void serverClosesCall()
    {
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        QSignalSpy flashed(window, &CChatDlg::Flashed);
        rig.Channel(kCallId)->Send(Chat(msg::chat::kTyping, "Mia"));
        QTRY_COMPARE(window->StatusLine()->text(), QStringLiteral("Mia is typing a message..."));
        rig.Channel(kCallId)->Close();
        QTRY_COMPARE(window->windowTitle(), QStringLiteral("Parlendo - Chat closed"));
        QCoreApplication::processEvents();
        QCOMPARE(TranscriptLines(*window), QStringList{"This call has been closed."});
        QCOMPARE(window->StatusLine()->text(), QStringLiteral("Chat closed"));
        QCOMPARE(flashed.size(), 1);
        rig.now += 60;
        window->OnTypingTimer();
        QCOMPARE(window->StatusLine()->text(), QStringLiteral("Chat closed"));
        window->OnCloseChat(); // nothing held any more
        QCOMPARE(LinesLike(*window, QStringLiteral("closed")).size(), 1);
    }

    // A line posted just as the connection went: it is shown as not delivered, once.
    void failedSendIsShown()
    {
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        rig.Channel(kCallId)->Close();
        // Waited for without running the window's events, so the window still holds its call.
        const auto channel = rig.session->Calls().Find(kCallId)->Channels().Find(0);
        const auto deadline = std::chrono::steady_clock::now() + 5s;
        while (!channel->IsStopped() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(1ms);
        QVERIFY(channel->IsStopped());
        QVERIFY(window->HoldsCall());
        window->InputBox()->setPlainText(QStringLiteral("are you there?"));
        window->OnSend();
        QTRY_COMPARE(LinesLike(*window, QStringLiteral("could not be delivered")),
                     QStringList{"This message could not be delivered: are you there?"});
        QTRY_VERIFY(!window->HoldsCall());
        QCoreApplication::processEvents();
        QCOMPARE(LinesLike(*window, QStringLiteral("could not be delivered")).size(), 1);
        QCOMPARE(LinesLike(*window, QStringLiteral("This call has been closed.")).size(), 1);
    }

    void transfer_data()
    {
        QTest::addColumn<bool>("closeFirst");
        QTest::newRow("in the call") << false;
        QTest::newRow("after the call closed") << true;
    }
    void transfer()
    {
        QFETCH(bool, closeFirst);
        CChatRig rig;
        rig.server.SetListReply(
            msg::kRequestUsers,
            ParticipantsReply(Entries(QStringLiteral("7,2,1,Ann,Lee;8,2,3,Bob,Stone"))));
        rig.session->RequestOperators();
        QTRY_COMPARE(rig.session->Operators().Count(), 2);
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);

        window->OnTransferChat();
        auto* dialog = window->findChild<CInviteDlg*>();
        QVERIFY(dialog);
        QCOMPARE(dialog->List()->model()->rowCount(), 1);
        dialog->List()->setCurrentIndex(dialog->List()->model()->index(0, 0));
        if (closeFirst)
            window->OnCloseChat();
        dialog->accept();
        QCOMPARE(dialog->SelectedOperatorId(), 8);

        if (closeFirst) {
            QCoreApplication::processEvents();
            QCOMPARE(TranscriptLines(*window), QStringList{"You have closed this call."});
            for (const CSocketMessage& m : rig.Channel(kCallId)->Received())
                QVERIFY(m.Code() != msg::kTransferCall);
            return;
        }
        QVERIFY(rig.WaitReceived(kCallId, msg::kTransferCall, 1));
        for (const CSocketMessage& m : rig.Channel(kCallId)->Received()) {
            if (m.Code() == msg::kTransferCall) {
                QCOMPARE(m.GetIntField(1), 8);
                QCOMPARE(m.GetField(2), std::optional<std::string>("invitation"));
            }
        }
        QTRY_COMPARE(TranscriptLines(*window),
                     QStringList{"Bob Stone has been invited to join this call"});
    }

    // Closing the window while the server has not answered the opening: the window goes at
    // once, and the call does not stay open behind it, however the connect ends.
    void closeWhileConnecting_data()
    {
        QTest::addColumn<bool>("answerLater");
        QTest::newRow("server never answers") << false;
        QTest::newRow("server answers after the window went") << true;
    }
    void closeWhileConnecting()
    {
        QFETCH(bool, answerLater);
        CChatRig rig(1500ms);
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> answered{false};
        rig.server.On(msg::kOpenMainChannel,
                      [&, released](FakeConnection& c, const CSocketMessage&) {
                          if (!answerLater || released.wait_for(5s) != std::future_status::ready)
                              return;
                          answered = true;
                          c.Send(PayloadOf(msg::kReplyOk, {std::to_string(msg::kOpenMainChannel)}));
                      });
        CChatDlg* window = rig.Open(kCallId);
        const auto channel = rig.Channel(kCallId);
        QVERIFY(channel);
        delete window;
        QVERIFY(!answered); // the window did not wait for the server
        QVERIFY(rig.windows.isEmpty());
        release.set_value();

        QVERIFY(CChatConnector::WaitForThreads(10s));
        QVERIFY(channel->WaitEnded());
        QCOMPARE(rig.session->Calls().Count(), 0);
        // Nothing of the abandoned connect is left holding the call id.
        rig.server.On(msg::kOpenMainChannel, [&](FakeConnection& c, const CSocketMessage& m) {
            rig.server.DefaultAnswer(c, m);
        });
        QVERIFY(rig.Connected(kCallId));
    }

    void recalcLayout_data()
    {
        QTest::addColumn<QStringList>("clicks"); // object names of buttons clicked after opening
        QTest::addColumn<bool>("panel");
        QTest::newRow("new window") << QStringList{} << true;
        QTest::newRow("hidden by its button") << QStringList{"hideCanned"} << false;
        QTest::newRow("shown again") << QStringList{"hideCanned", "Canned Answers"} << true;
        QTest::newRow("toggled off") << QStringList{"Canned Answers"} << false;
    }
    void recalcLayout()
    {
        QFETCH(QStringList, clicks);
        QFETCH(bool, panel);
        CChatRig rig;
        CChatDlg* window = rig.Open(kCallId);
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        window->resize(700, 520);
        for (const QString& name : clicks)
            QTest::mouseClick(window->findChild<CFlatButton*>(name), Qt::LeftButton);
        QCOMPARE(window->IsCannedShown(), panel);

        const int w = window->width();
        const int h = window->height();
        const int b = window->findChild<CFlatButton*>(QStringLiteral("Transfer Chat"))->height();
        const QWidget* send = window->findChild<CFlatButton*>(QStringLiteral("send"));
        const int s = send->width();
        const int e = window->InputBox()->height();
        const int left = panel ? 160 : 1;
        const int panelWidth = panel ? 160 : 0;
        QCOMPARE(window->Transcript()->geometry(),
                 QRect(left, b + 12, w - 4 - panelWidth, h - b - e - 50));
        QCOMPARE(window->InputBox()->geometry(),
                 QRect(left, h - e - 32, w - s - 8 - panelWidth, e));
        QCOMPARE(send->geometry(), QRect(w - s - 2, h - e - 32, s, e));
        QCOMPARE(window->StatusLine()->geometry(), QRect(1, h - 22, w - 2, 20));
        const QWidget* tree = window->CannedTree();
        const QWidget* hide = window->findChild<CFlatButton*>(QStringLiteral("hideCanned"));
        const QWidget* caption = window->findChild<QWidget*>(QStringLiteral("cannedCaption"));
        QCOMPARE(tree->isVisible(), panel);
        QCOMPARE(hide->isVisible(), panel);
        QCOMPARE(caption->isVisible(), panel);
        if (panel) {
            QCOMPARE(tree->geometry(), QRect(1, b + 32, 155, h - b - 64));
            QCOMPARE(caption->geometry(), QRect(1, b + 12, 155, 19));
            QCOMPARE(hide->geometry(), QRect(138, b + 14, 16, 16));
        }
    }

    // The close box stores the placement under "ChatWindow"; Escape closes without storing.
    void placementOnClose_data()
    {
        QTest::addColumn<bool>("escape");
        QTest::newRow("close box") << false;
        QTest::newRow("Escape") << true;
    }
    void placementOnClose()
    {
        QFETCH(bool, escape);
        CChatRig rig;
        QPointer<CChatDlg> window = rig.Open(kCallId);
        window->show();
        window->setGeometry(120, 90, 800, 455);
        QVERIFY(QTest::qWaitForWindowExposed(window));
        if (escape) {
            window->activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(window));
            QTest::keyClick(window->InputBox(), Qt::Key_Escape);
        } else {
            window->close();
        }
        QTRY_VERIFY(!window);
        QVERIFY(rig.windows.isEmpty());
        const auto stored = rig.profile.LoadWindowPlacement(QStringLiteral("ChatWindow"));
        QCOMPARE(stored.has_value(), !escape);
        if (stored) {
            QCOMPARE(stored->show, WindowPlacement::kShowNormal);
            QCOMPARE(stored->NormalRect().size(), QSize(800, 455));
        }
    }

    // Saving: the file appears whole or not at all; a failure is told to the operator.
    void saveChat_data()
    {
        QTest::addColumn<bool>("limited");
        QTest::newRow("writable") << false;
        QTest::newRow("write fails part way") << true;
    }
    void saveChat()
    {
        QFETCH(bool, limited);
        CChatRig rig;
        CChatDlg* window = rig.Open(kCallId);
        for (int i = 0; i < 200; ++i)
            window->Transcript()->AppendText(QStringLiteral("line %1").arg(i),
                                             QColor::fromRgb(CTranscriptCtrl::kChatTextColour));
        const QString path = rig.folder.filePath(QStringLiteral("chat.rtf"));
        QVERIFY(WriteFile(path, "earlier chat"));
        bool saved = false;
        {
            std::unique_ptr<FileSizeLimit> limit;
            if (limited)
                limit = std::make_unique<FileSizeLimit>(64);
            saved = window->SaveChatTo(path);
        }
        QCOMPARE(saved, !limited);
        if (limited) {
            QCOMPARE(Contents(path), QByteArray("earlier chat"));
            QCOMPARE(rig.notifier.informed.size(), 1);
            QVERIFY(rig.notifier.informed.first().startsWith(
                QStringLiteral("The chat could not be saved to")));
        } else {
            QVERIFY(Contents(path).startsWith("{\\rtf"));
            QVERIFY(Contents(path).contains("line 199"));
            QVERIFY(rig.notifier.informed.isEmpty());
        }
    }

    // Visitor lines pour in while the operator sends: every line lands whole, name then text,
    // and the visitor's in the order sent.
    void burstKeepsLinesWhole()
    {
        CChatRig rig;
        CChatDlg* window = rig.Connected(kCallId);
        QVERIFY(window);
        const auto channel = rig.Channel(kCallId);
        constexpr int kVisitorLines = 300;
        std::thread visitor([&] {
            for (int i = 0; i < kVisitorLines; ++i)
                channel->Send(Chat(msg::chat::kLine, "Mia", "visitor " + std::to_string(i)));
        });
        for (int i = 0; i < 40; ++i) {
            window->InputBox()->setPlainText(QStringLiteral("own %1").arg(i));
            window->OnSend();
            QCoreApplication::processEvents();
        }
        visitor.join();
        QTRY_COMPARE(LinesLike(*window, QStringLiteral("visitor ")).size(), kVisitorLines);
        const QStringList lines = TranscriptLines(*window);
        QCOMPARE(lines.size(), 2 * (kVisitorLines + 40));
        int nextVisitor = 0;
        for (qsizetype i = 0; i < lines.size(); i += 2) {
            if (lines[i] == QStringLiteral("Mia:")) {
                QCOMPARE(lines[i + 1], QStringLiteral("visitor %1").arg(nextVisitor++));
            } else {
                QCOMPARE(lines[i], QStringLiteral("Ann:"));
                QVERIFY(lines[i + 1].startsWith(QStringLiteral("own ")));
            }
        }
    }
};

QTEST_MAIN(ChatDlgTest)
#include "chat_dlg_test.moc"
