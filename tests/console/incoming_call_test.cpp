// Offers of calls as the simulated server makes them to the logged-in console: the dialog with
// its notice and its chat window, several at once with their ring and their own timers,
// declining without a word to the server, and offers closing with the connection.

#include "call_dlg.h"
#include "call_offers.h"
#include "console_rig.h"
#include "console_toolbar.h"
#include "counting_ring.h"
#include "flat_button.h"
#include "operator_list_model.h"
#include "ring_player.h"
#include "sim_messages.h"
#include "visitor_list_model.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

using namespace std::chrono_literals;

namespace {

const QString kOnline = QStringLiteral("Parlendo - Online [127.0.0.1]");

} // namespace

class IncomingCallTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<CConsoleRig> m_rig;
    SoundLog m_sound;
    QList<int> m_opened;

    COperatorDlg& Window() { return *m_rig->window; }
    CSimWorld& World() { return m_rig->server->World(); }
    QList<CCallDlg*> Offers() { return Window().CallOffers()->Open(); }

    // Logged in at start-up, with a ring that only counts and chat windows that are only
    // recorded; a second of NotifyTimeout lasts 10 ms.
    void LogIn(int notifyTimeout = 1000)
    {
        m_rig->StartServer();
        m_rig->settings->m_autoLogin = 1;
        m_rig->settings->m_saveLogin = 1;
        m_rig->settings->m_notifyTimeout = notifyTimeout;
        ConsoleTimings timings = CConsoleRig::Timings();
        timings.notifySecond = 10ms;
        m_rig->MakeWindow(timings);
        Window().CallOffers()->Ring().SetSoundFactory(
            [this] { return std::make_unique<CCountingRing>(m_sound); });
        Window().SetChatWindowFactory([this](int callId) { m_opened.append(callId); });
        m_rig->ShowWindow();
        QTRY_COMPARE(Window().windowTitle(), kOnline);
        // Both lists answered: nothing the log-in sends is still on its way to the server.
        QTRY_VERIFY(Window().VisitorModel()->rowCount() > 0 &&
                    Window().OperatorModel()->rowCount() > 0);
    }

    // A visitor asks for a chat; waits for its offer (which may have timed out by then).
    QPointer<CCallDlg> RequestChat(int visitor, int* callId = nullptr)
    {
        QSignalSpy offered(Window().CallOffers(), &CCallOffers::Offered);
        const int id = World().RequestChat(World().Visitors().at(visitor).id, m_rig->OperatorId());
        if (callId)
            *callId = id;
        if (id <= 0 || !offered.wait(5000))
            return nullptr;
        return offered.first().first().value<CCallDlg*>();
    }

private slots:
    void init()
    {
        m_rig = std::make_unique<CConsoleRig>();
        m_sound = {};
        m_opened.clear();
    }
    void cleanup() { m_rig.reset(); }

    void offerShowsItsNotice_data()
    {
        QTest::addColumn<bool>("transfer");
        QTest::newRow("chat request") << false;
        QTest::newRow("call transfer") << true;
    }
    void offerShowsItsNotice()
    {
        QFETCH(bool, transfer);
        LogIn();
        const SimVisitor visitor = World().Visitors().at(1);
        QString notice;
        int callId = 0;
        if (transfer) {
            SimOperatorInfo from;
            from.firstName = "Bob";
            from.lastName = "Stone";
            callId = 77;
            QVERIFY(World().SendToOperator(
                m_rig->OperatorId(), simmsg::CallTransfer(visitor.id, callId, from, "billing")));
            notice = QStringLiteral("You have received a Parlendo call transfer from Bob Stone.");
        } else {
            callId = World().RequestChat(visitor.id, m_rig->OperatorId());
            notice = QStringLiteral("You have received a Parlendo call from %1.")
                         .arg(QString::fromStdString(visitor.name));
        }
        QTRY_COMPARE(Offers().size(), 1);
        CCallDlg* offer = Offers().first();
        QCOMPARE(offer->Notice(), notice);
        QCOMPARE(offer->CallId(), callId);
        QVERIFY(offer->isVisible());
        QCOMPARE(m_sound.played, 1);

        // Accept opens the chat window of that call, once, and the offer goes.
        const QPointer<CCallDlg> guard(offer);
        offer->AcceptButton()->click();
        offer->AcceptButton()->click();
        QCOMPARE(m_opened, QList<int>{callId});
        QVERIFY(!Window().CallOffers()->Ring().IsRinging());
        QTRY_VERIFY(guard.isNull());
    }

    // Two offers at once: both up, both ringing the one sound; declining one keeps the ring
    // for the other, declining the last stops it. Neither reaches the server.
    void declinedOffersSendNothing()
    {
        LogIn();
        const QPointer<CCallDlg> first = RequestChat(0);
        const QPointer<CCallDlg> second = RequestChat(1);
        QVERIFY(first && second);
        QVERIFY(first->isVisible() && second->isVisible());
        QVERIFY(first->CallId() != second->CallId());
        QCOMPARE(m_sound.played, 1);
        const std::size_t received = World().Received().size();
        const int accepted = m_rig->Accepted();

        QTest::keyClick(first, Qt::Key_Escape);
        QVERIFY(Window().CallOffers()->Ring().IsRinging());
        QCOMPARE(m_sound.stopped, 0);
        QVERIFY(second->isVisible());
        second->CancelButton()->click();
        QCOMPARE(m_sound.stopped, 1);
        QTRY_VERIFY(first.isNull() && second.isNull());

        // A status change after them is the next thing the server hears, on the same
        // connection, and no new connection has come.
        emit Window().Toolbar()->StatusChosen(2);
        QTRY_COMPARE(Window().windowTitle(), QStringLiteral("Parlendo - busy [127.0.0.1]"));
        QCOMPARE(World().Received().size(), received + 1);
        QCOMPARE(m_rig->Accepted(), accepted);
        QVERIFY(m_opened.isEmpty());
    }

    // Each offer has its own timer: a short one goes, a long one stays.
    void offersTimeOutOneByOne()
    {
        LogIn(1);
        QSignalSpy offered(Window().CallOffers(), &CCallOffers::Offered);
        const QPointer<CCallDlg> brief = RequestChat(0);
        m_rig->settings->m_notifyTimeout = 100000;
        const QPointer<CCallDlg> lasting = RequestChat(1);
        QCOMPARE(offered.count(), 2);
        QVERIFY(lasting);
        QTRY_VERIFY(brief.isNull());
        QVERIFY(lasting->isVisible());
        QVERIFY(Window().CallOffers()->Ring().IsRinging());
        QVERIFY(m_opened.isEmpty());
    }

    // Offers belong to the connection they came on.
    void offersCloseWithTheConnection_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Logout", "server ends it", "shutdown"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void offersCloseWithTheConnection()
    {
        QFETCH(QString, how);
        LogIn();
        const QPointer<CCallDlg> offer = RequestChat(0);
        QVERIFY(offer);
        if (how == QLatin1String("Logout"))
            Window().Toolbar()->Logout()->click();
        else if (how == QLatin1String("server ends it"))
            QVERIFY(World().DropOperator(m_rig->OperatorId()));
        else
            Window().Shutdown();
        QTRY_VERIFY(offer.isNull());
        QVERIFY(!Window().CallOffers()->Ring().IsRinging());
        QVERIFY(m_opened.isEmpty());
    }
};

QTEST_MAIN(IncomingCallTest)
#include "incoming_call_test.moc"
