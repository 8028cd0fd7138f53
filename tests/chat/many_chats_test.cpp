// Several chats at once, as windows of their own and as tabs of one window: each has its place,
// a visitor's line in a chat the operator is not looking at is counted and signalled once, and
// Alt+n and Ctrl+Tab go from chat to chat (where a key the chats share could be taken by none),
// seeing what was unread; a chat that ends leaves the others in their order; quitting while
// chats are live asks first.
#include "active_chats.h"
#include "chat_dlg.h"
#include "day_stage.h"
#include "operator_dlg.h"
#include "recording_notifier.h"

#include <QScreen>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>

class ManyChatsTest final : public QObject
{
    Q_OBJECT

    static bool InFront(const CChatDlg* chat)
    {
        return chat->isVisible() && chat->window()->isActiveWindow();
    }

private slots:
    void goingFromChatToChat_data()
    {
        QTest::addColumn<int>("tabs");
        QTest::newRow("windows of their own") << 0;
        QTest::newRow("tabs of one window") << 1;
    }

    void goingFromChatToChat()
    {
        QFETCH(int, tabs);
        CRecordingNotifier notifier;
        notifier.yes = true;
        CDayStage stage(notifier);
        QVERIFY(stage.StartServer());
        stage.settings.m_welcomeMsg.clear();
        stage.settings.m_chatTabs = tabs;
        QCOMPARE(stage.session.Login("127.0.0.1", std::uint16_t(stage.settings.m_serverPort),
                                     day::kUser, day::kPassword),
                 0);
        const std::vector<SimVisitor> visitors = stage.World().Visitors();
        QList<int> calls;
        QList<CChatDlg*> chats;
        for (int i = 0; i < 3; ++i) {
            calls << stage.World().RequestChat(visitors[i].id, day::SignedInId(stage.World()));
            chats << stage.OpenChat(calls.back());
            const QString title =
                QStringLiteral("Parlendo - ") + QString::fromStdString(visitors[i].name);
            QTRY_COMPARE(chats.back()->windowTitle(), title);
        }
        CActiveChats& list = stage.Console().ActiveChats();
        QCOMPARE(list.Count(), 3);

        QList<QWidget*> windows;
        for (CChatDlg* chat : chats)
            if (!windows.contains(chat->window()))
                windows << chat->window();
        QCOMPARE(windows.size(), tabs ? 1 : 3);
        // Windows of their own cascade where they can be reached, none hiding the last.
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        for (QWidget* window : windows) {
            QVERIFY(screen.contains(window->geometry().topLeft()));
            QCOMPARE(windows.count(window), 1);
            for (QWidget* other : windows)
                QVERIFY(other == window || other->pos() != window->pos());
        }

        list.Activate(chats[0]);
        QTRY_VERIFY(InFront(chats[0]));
        QSignalSpy unseen(&list, &CActiveChats::UnseenLine);
        stage.World().VisitorSays(calls[2], "are you there?");
        stage.World().VisitorSays(calls[0], "hello");
        const auto unread = [&list](int row) {
            return list.index(row).data(CActiveChats::UnreadRole).toInt();
        };
        QTRY_COMPARE(unread(2), 1);
        QTRY_VERIFY(!list.index(0).data(CActiveChats::LastVisitorLineRole).isNull());
        QCOMPARE(unread(0), 0);
        QCOMPARE(unseen.count(), 1);

        QTest::keyClick(chats[0]->window(), Qt::Key_3, Qt::AltModifier);
        QTRY_VERIFY(InFront(chats[2]));
        QCOMPARE(unread(2), 0);
        QTest::keyClick(chats[2]->window(), Qt::Key_Tab, Qt::ControlModifier);
        QTRY_VERIFY(InFront(chats[0]));
        QTest::keyClick(chats[0]->window(), Qt::Key_Tab, Qt::ControlModifier | Qt::ShiftModifier);
        QTRY_VERIFY(InFront(chats[2]));

        chats[1]->close();
        QTRY_COMPARE(list.Count(), 2);
        QCOMPARE(list.ChatAt(1), chats[2]);
        QTest::keyClick(chats[2]->window(), Qt::Key_1, Qt::AltModifier);
        QTRY_VERIFY(InFront(chats[0]));

        notifier.yes = false;
        QSignalSpy quit(stage.window, &COperatorDlg::Closed);
        stage.window->close();
        QCOMPARE(notifier.asked.last(),
                 QStringLiteral("Parlendo|2 chat(s) are still open. End them and quit?"));
        QCOMPARE(quit.count(), 0);
        QCOMPARE(list.LiveCount(), 2);
        notifier.yes = true;
        stage.window->close();
        QTRY_COMPARE(quit.count(), 1);
        // On the way out Qt closes every window: the chats end without a second question.
        const qsizetype asked = notifier.asked.size();
        for (CChatDlg* chat : {chats[0], chats[2]})
            QVERIFY(chat->window()->close());
        QCOMPARE(notifier.asked.size(), asked);
    }
};

QTEST_MAIN(ManyChatsTest)
#include "many_chats_test.moc"
