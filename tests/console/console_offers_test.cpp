// Offers of calls from the simulated server: the offers share one ring, which stops with the
// last of them; Accept opens exactly one chat window however often it is pressed; an
// unanswered offer closes after its time and is kept among the missed chats; declining sends
// nothing; a log-out closes them all. A server that offers the same call again, or more calls
// than the screen holds, neither doubles a window nor buries the desktop.
#include "call_dlg.h"
#include "call_notice.h"
#include "call_offers.h"
#include "console_rig.h"
#include "incoming_call.h"
#include "message_codes.h"
#include "missed_chats.h"
#include "ring_player.h"
#include "ring_sound.h"

#include <QApplication>
#include <QLabel>
#include <QSignalSpy>

using namespace std::chrono_literals;

namespace {

struct SoundLog
{
    int played = 0;
    int stopped = 0;
};

// A ring that only counts: there is no audio where the tests run.
class CCountingRing final : public CRingSound
{
public:
    explicit CCountingRing(SoundLog& log) : m_log(log) {}
    ~CCountingRing() override { ++m_log.stopped; }
    void Play() override { ++m_log.played; }

private:
    SoundLog& m_log;
};

QList<CCallDlg*> Offers()
{
    QList<CCallDlg*> open;
    for (QWidget* window : QApplication::topLevelWidgets())
        if (auto* offer = qobject_cast<CCallDlg*>(window); offer && offer->isVisible())
            open << offer;
    return open;
}

// The open offer of the visitor's call.
CCallDlg* OfferFrom(const SimVisitor& visitor)
{
    for (CCallDlg* offer : Offers())
        if (offer->findChild<QLabel*>(QStringLiteral("message"))
                ->text()
                .startsWith(QStringLiteral("You have received a Parlendo call from %1")
                                .arg(QString::fromStdString(visitor.name))))
            return offer;
    return nullptr;
}

} // namespace

class ConsoleOffersTest final : public QObject
{
    Q_OBJECT

private slots:
    void offersOfCalls()
    {
        CConsoleRig rig;
        rig.Adjust = [](CAppSettings& s) {
            s.m_notifySound = 1;
            s.m_notifyTimeout = 60;
        };
        ConsoleTimings timings = CDayStage::Timings();
        timings.notifySecond = 100ms;
        QVERIFY(rig.Start(day::ServerOptions(), timings));
        QVERIFY(rig.LogInAndList());
        SoundLog sound;
        rig.Window().findChild<CRingPlayer*>()->SetSoundFactory(
            [&sound] { return std::make_unique<CCountingRing>(sound); });
        QList<int> accepted;
        rig.Window().SetChatWindowFactory(
            [&accepted](const CIncomingCall& call) { accepted << call.callId; });

        CSimWorld& world = rig.stage.World();
        const std::vector<SimVisitor> crowd = world.Visitors();
        const int first = world.RequestChat(crowd[0].id, rig.OperatorId());
        QVERIFY(world.RequestChat(crowd[1].id, rig.OperatorId()) > 0);
        QTRY_COMPARE(Offers().size(), 2);
        QCOMPARE(sound.played, 1);
        CCallDlg* offer = OfferFrom(crowd[0]);
        QVERIFY(offer);
        auto* accept = offer->findChild<CFlatButton*>(QStringLiteral("accept"));
        accept->click();
        accept->click();
        QCOMPARE(accepted, QList<int>{first});
        QTRY_COMPARE(Offers().size(), 1);
        QCOMPARE(sound.stopped, 0); // the other offer still rings

        // A third offer, on a timeout of one tenth of the time: it closes by itself.
        rig.stage.settings.m_notifyTimeout = 1;
        QSignalSpy offered(rig.Window().findChild<CCallOffers*>(), &CCallOffers::Taken);
        world.RequestChat(crowd[2].id, rig.OperatorId());
        QVERIFY(offered.wait());
        QTRY_COMPARE(Offers().size(), 1);
        QVERIFY(OfferFrom(crowd[1]));
        // Kept, on disk, for the operator to look at after a restart.
        CMissedChats missed(ConsolePlaces::InFolder(rig.stage.folder.path()).missed);
        missed.Load();
        QCOMPARE(missed.Entries().size(), 1);
        QCOMPARE(missed.Entries().front().text1, QString::fromStdString(crowd[2].name));
        QCOMPARE(missed.UnseenCount(), 1);

        OfferFrom(crowd[1])->findChild<CFlatButton*>(QStringLiteral("cancel"))->click();
        QTRY_COMPARE(Offers().size(), 0);
        QCOMPARE(sound.played, 1);
        QCOMPARE(sound.stopped, 1);
        QCOMPARE(accepted.size(), 1);
        QVERIFY(day::ServerReceived(world, msg::kOpenMainChannel).isEmpty());

        // Offers belong to the connection they came on.
        world.RequestChat(crowd[3].id, rig.OperatorId());
        QTRY_COMPARE(Offers().size(), 1);
        rig.Button("logout")->click();
        QTRY_COMPARE(Offers().size(), 0);
        QCOMPARE(sound.stopped, 2);
    }

    // The sentence of an offer: names from the network bounded, a closing full stop of the
    // caller's own not doubled, a placeholder in a name left as it is.
    void noticeOfAnOffer_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("second");
        QTest::addColumn<QString>("notice");
        const int call = CIncomingCall::kKindCall;
        const int transfer = CIncomingCall::kKindTransfer;
        QTest::newRow("name") << call << "Greta" << "" << "call from Greta.";
        QTest::newRow("name with a full stop") << call << "Greta J." << "" << "call from Greta J.";
        QTest::newRow("transfer") << transfer << "Bob" << "Stone." << "transfer from Bob Stone.";
        QTest::newRow("placeholder in a name") << transfer << "%2" << "x" << "transfer from %2 x.";
        QTest::newRow("huge name") << call << QString(100'000, u'n') << "" << QString(u'\u2026') + '.';
    }
    void noticeOfAnOffer()
    {
        QFETCH(int, kind);
        QFETCH(QString, first);
        QFETCH(QString, second);
        QFETCH(QString, notice);
        CIncomingCall call;
        call.kind = kind;
        call.text1 = first;
        call.text2 = second;
        const QString made = CallNotice::Format(call).value_or(QString());
        QVERIFY2(made.endsWith(notice), qPrintable(made));
        QVERIFY(made.toUtf8().size() <= CallNotice::kMaxBytes);
    }

    void offersBeyondTheScreen()
    {
        CAppSettings settings;
        settings.m_notifyTimeout = 60;
        auto call = [](int id) {
            CIncomingCall c;
            c.callId = id;
            c.kind = CIncomingCall::kKindCall;
            c.text1 = QStringLiteral("Visitor %1").arg(id);
            return c;
        };
        {
            CCallOffers offers(settings, 1s);
            for (int id = 1; id <= 6; ++id)
                QVERIFY(offers.Take(call(id)));
            QVERIFY(!offers.Take(call(3))); // offered again: the same offer
            QCOMPARE(Offers().size(), CCallOffers::kMaxWindows);
            QCOMPARE(offers.Waiting(), 2);

            // Windows stand apart, none hiding another.
            QList<QRect> frames;
            for (CCallDlg* offer : Offers()) {
                for (const QRect& other : std::as_const(frames))
                    QVERIFY(!other.intersects(offer->frameGeometry()));
                frames << offer->frameGeometry();
            }

            // The oldest is accepted first, and a waiting offer takes the freed window.
            QList<int> opened;
            offers.SetChatWindowFactory([&opened](const CIncomingCall& c) { opened << c.callId; });
            QVERIFY(offers.AcceptOldest());
            QCOMPARE(opened, QList<int>{1});
            QCOMPARE(offers.Waiting(), 1);
            QCOMPARE(Offers().size(), CCallOffers::kMaxWindows);
        }
        QTRY_COMPARE(Offers().size(), 0);

        // Offers waiting for a window time out on the same clock as those with one.
        settings.m_notifyTimeout = 1;
        CCallOffers offers(settings, 50ms);
        QList<int> timedOut;
        connect(&offers, &CCallOffers::Ended, this,
                [&timedOut](const CIncomingCall& c, CCallOffers::End end) {
                    if (end == CCallOffers::End::TimedOut)
                        timedOut << c.callId;
                });
        for (int id = 1; id <= 6; ++id)
            offers.Take(call(id));
        QTRY_COMPARE(timedOut.size(), 6);
        QCOMPARE(offers.Waiting(), 0);
        QTRY_COMPARE(Offers().size(), 0);
    }
};

QTEST_MAIN(ConsoleOffersTest)
#include "console_offers_test.moc"
