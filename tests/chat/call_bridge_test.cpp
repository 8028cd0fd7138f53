// The call bridge: callbacks raised on other threads arrive as signals on the bridge's thread,
// in order, with copies of what they carried; once detached nothing arrives, even what was
// queued before, and callbacks that outlive the bridge do nothing.
#include "call_bridge.h"
#include "message_codes.h"
#include "socket_message.h"

#include <QSignalSpy>
#include <QThread>
#include <QtTest>
#include <atomic>
#include <thread>

class CallBridgeTest final : public QObject
{
    Q_OBJECT

private slots:
    void copiesInOrder()
    {
        COperatorSession session;
        CCallBridge bridge;
        QStringList events;
        bool offThread = false;
        const auto add = [&](QString line) {
            offThread |= QThread::currentThread() != bridge.thread();
            events << line;
        };
        connect(&bridge, &CCallBridge::ChatData, this, [&](const CChatLine& l) {
            add(QStringLiteral("chat %1 %2 %3")
                    .arg(l.kind)
                    .arg(l.speaker.value_or("-"), l.text.value_or("-")));
        });
        connect(&bridge, &CCallBridge::ParticipantRemoved, this,
                [&](const CUserEntry& e) { add(QStringLiteral("left ") + e.text2.c_str()); });
        connect(&bridge, &CCallBridge::CallClosed, this,
                [&](int reason) { add(QStringLiteral("closed %1").arg(reason)); });
        connect(&bridge, &CCallBridge::OtherMessage, this,
                [&](int a, int b) { add(QStringLiteral("other %1 %2").arg(a).arg(b)); });

        const CCall::Callbacks callbacks = bridge.Callbacks(session.Calls(), 5);
        std::thread([&] {
            {
                CSocketMessage line;
                line.Assign("30031<~>Mia<~>hello<~>");
                callbacks.OnChatData(line);
                line.Assign("30032<~><~><~>"); // the speaker left out
                callbacks.OnChatData(line);
            } // the messages are gone before the window sees them
            auto leaving = std::make_unique<CUserEntry>();
            leaving->text2 = "Mia";
            callbacks.OnParticipantRemoved(*leaving);
            leaving.reset();
            callbacks.OnOtherMessage(msg::kChatData, -3);
            callbacks.OnCallClosed(2);
        }).join();
        QVERIFY(events.isEmpty()); // nothing reaches the window outside its event loop
        QTRY_COMPARE(events.size(), 5);
        QCOMPARE(events, (QStringList{"chat 1 Mia hello", "chat 2 - -", "left Mia", "other 3003 -3",
                                      "closed 2"}));
        QVERIFY(!offThread);
    }

    void nothingAfterDetach()
    {
        COperatorSession session;
        auto bridge = std::make_unique<CCallBridge>();
        QSignalSpy closed(bridge.get(), &CCallBridge::CallClosed);
        const CCall::Callbacks callbacks = bridge->Callbacks(session.Calls(), 5);
        std::thread([&] { callbacks.OnCallClosed(2); }).join();
        bridge->Detach(); // queued, not yet delivered
        QVERIFY(!bridge->IsAttached());
        QCoreApplication::processEvents();
        QCOMPARE(closed.size(), 0);

        // A thread keeps raising while the bridge goes away under it.
        std::atomic<bool> stop{false};
        auto fresh = std::make_unique<CCallBridge>();
        const CCall::Callbacks live = fresh->Callbacks(session.Calls(), 5);
        std::thread raiser([&] {
            while (!stop)
                live.OnCallClosed(2);
        });
        QTest::qWait(5);
        fresh.reset();
        QCoreApplication::processEvents();
        stop = true;
        raiser.join();
        callbacks.OnCallClosed(2); // outlived its bridge too
        bridge.reset();
        QCoreApplication::processEvents();
    }
};

QTEST_MAIN(CallBridgeTest)
#include "call_bridge_test.moc"
