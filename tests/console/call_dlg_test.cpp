// The incoming-call dialog and the ring its offers share: answering (once, however often it is
// activated), declining, the time-out of each offer, the ring across several offers, and the
// ring's real sound where there is no audio device.

#include "app_settings.h"
#include "call_dlg.h"
#include "counting_ring.h"
#include "flat_button.h"
#include "ring_player.h"
#include "sound_effect_ring.h"

#include <QFile>
#include <QLabel>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QtEndian>

using namespace std::chrono_literals;

namespace {

// Without a sound server the multimedia back end says so on every start; nothing to see here.
QtMessageHandler g_previousHandler = nullptr;

void QuietAudio(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (message.startsWith(QLatin1String("PulseAudioService")) ||
        message.contains(QLatin1String("audio device")))
        return;
    g_previousHandler(type, context, message);
}

} // namespace

class CallDlgTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    std::unique_ptr<CAppSettings> m_settings;
    std::unique_ptr<CRingPlayer> m_ring;
    SoundLog m_sound;
    QList<int> m_opened;

    // A shown offer with the given NotifyTimeout in units of 10 ms.
    QPointer<CCallDlg> Offer(int callId = 5, int timeout = 1000)
    {
        m_settings->m_notifyTimeout = timeout;
        auto* offer = new CCallDlg(*m_settings, QStringLiteral("You have a call."), callId,
                                   [this](int id) { m_opened.append(id); }, m_ring.get(), 10ms);
        offer->show();
        return offer;
    }

private slots:
    void initTestCase() { g_previousHandler = qInstallMessageHandler(QuietAudio); }

    void init()
    {
        m_settings = std::make_unique<CAppSettings>(m_folder.filePath(QStringLiteral("o.conf")));
        m_ring = std::make_unique<CRingPlayer>();
        m_sound = {};
        m_ring->SetSoundFactory([this] { return std::make_unique<CCountingRing>(m_sound); });
        m_opened.clear();
    }

    // A caller's name is shown as it was typed, never as markup.
    void noticeIsPlainText()
    {
        m_settings->m_notifySound = 0;
        const QString notice = QStringLiteral("You have received a Parlendo call from <b>Eve</b>"
                                              "<img src=x>.");
        auto* offer = new CCallDlg(*m_settings, notice, 1, {});
        auto* message = offer->findChild<QLabel*>(QStringLiteral("message"));
        QCOMPARE(offer->windowTitle(), QStringLiteral("Parlendo Call"));
        QCOMPARE(message->text(), notice);
        QCOMPARE(message->textFormat(), Qt::PlainText);
        delete offer;
    }

    void acceptOpensOneChatWindow_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"click", "double click", "click twice", "Enter twice"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void acceptOpensOneChatWindow()
    {
        QFETCH(QString, how);
        const QPointer<CCallDlg> offer = Offer(42);
        QSignalSpy finished(offer.data(), &QDialog::finished);
        CFlatButton* accept = offer->AcceptButton();
        if (how == QLatin1String("click")) {
            QTest::mouseClick(accept, Qt::LeftButton);
        } else if (how == QLatin1String("double click")) {
            // As the window system delivers one: a click, then the double click and its release.
            QTest::mouseClick(accept, Qt::LeftButton);
            QTest::mouseDClick(accept, Qt::LeftButton);
            QTest::mouseRelease(accept, Qt::LeftButton);
        } else if (how == QLatin1String("click twice")) {
            accept->click();
            accept->click();
        } else {
            QTest::keyClick(offer, Qt::Key_Return);
            QTest::keyClick(offer, Qt::Key_Enter);
        }
        QCOMPARE(m_opened, QList<int>{42});
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(), int(QDialog::Accepted));
        QVERIFY(!m_ring->IsRinging());
        QTRY_VERIFY(offer.isNull());
        QCOMPARE(m_opened.size(), 1);
    }

    // The offer closes even without a chat window to open.
    void acceptWithoutFactoryCloses()
    {
        auto* offer = new CCallDlg(*m_settings, QStringLiteral("x"), 3, {}, m_ring.get());
        const QPointer<CCallDlg> guard(offer);
        offer->show();
        offer->AcceptButton()->click();
        QVERIFY(!m_ring->IsRinging());
        QTRY_VERIFY(guard.isNull());
    }

    void declineOpensNothing_data()
    {
        QTest::addColumn<QString>("how");
        for (const char* how : {"Cancel", "Escape", "Enter on Cancel", "time-out"})
            QTest::newRow(how) << QString::fromLatin1(how);
    }
    void declineOpensNothing()
    {
        QFETCH(QString, how);
        const bool timeOut = how == QLatin1String("time-out");
        const QPointer<CCallDlg> offer = Offer(8, timeOut ? 1 : 1000);
        QSignalSpy finished(offer.data(), &QDialog::finished);
        if (how == QLatin1String("Cancel")) {
            QTest::mouseClick(offer->CancelButton(), Qt::LeftButton);
        } else if (how == QLatin1String("Escape")) {
            QTest::keyClick(offer, Qt::Key_Escape);
        } else if (how == QLatin1String("Enter on Cancel")) {
            offer->CancelButton()->setFocus();
            QTest::keyClick(offer, Qt::Key_Return);
        }
        QTRY_COMPARE(finished.count(), 1);
        QCOMPARE(finished.first().first().toInt(),
                 timeOut ? CCallDlg::kTimedOut : int(QDialog::Rejected));
        QVERIFY(!m_ring->IsRinging());
        QCOMPARE(m_sound.stopped, 1);
        QTRY_VERIFY(offer.isNull());
        QVERIFY(m_opened.isEmpty());
    }

    // Out-of-range values only come from a damaged settings file; none closes an offer at once.
    void lifetime_data()
    {
        QTest::addColumn<int>("stored");
        QTest::addColumn<int>("seconds");
        QTest::newRow("set") << 45 << 45;
        QTest::newRow("zero: the default") << 0 << 60;
        QTest::newRow("negative: the default") << -5 << 60;
        QTest::newRow("beyond the timer") << INT_MAX << INT_MAX / 1000;
    }
    void lifetime()
    {
        QFETCH(int, stored);
        QFETCH(int, seconds);
        m_settings->m_notifyTimeout = stored;
        CCallDlg offer(*m_settings, QStringLiteral("x"), 1, {}, nullptr, 1s);
        offer.setAttribute(Qt::WA_DeleteOnClose, false);
        QCOMPARE(offer.Lifetime(), std::chrono::milliseconds(std::chrono::seconds(seconds)));
    }

    // Two offers ring the one sound: it goes on while either is open and stops with the last.
    // Each has its own timer.
    void offersShareTheRing()
    {
        const QPointer<CCallDlg> first = Offer(1, 1000);
        const QPointer<CCallDlg> second = Offer(2, 1);
        QCOMPARE(m_ring->RingingOffers(), 2);
        QCOMPARE(m_sound.played, 1);

        QTRY_VERIFY(second.isNull());
        QVERIFY(first->isVisible());
        QVERIFY(m_ring->IsRinging());
        QCOMPARE(m_sound.stopped, 0);

        first->reject();
        QVERIFY(!m_ring->IsRinging());
        QCOMPARE(m_sound.stopped, 1);

        // The next offer starts a fresh sound.
        const QPointer<CCallDlg> third = Offer(3);
        QCOMPARE(m_sound.played, 2);
        delete third.data(); // gone without closing: it still leaves the ring
        QVERIFY(!m_ring->IsRinging());
        QCOMPARE(m_sound.stopped, 2);
    }

    void notifySoundOffIsSilent()
    {
        m_settings->m_notifySound = 0;
        const QPointer<CCallDlg> silent = Offer(1);
        QCOMPARE(m_sound.played, 0);
        QVERIFY(!m_ring->IsRinging());
        m_settings->m_notifySound = 1;
        const QPointer<CCallDlg> ringing = Offer(2);
        QCOMPARE(m_sound.played, 1);
        silent->reject();
        QVERIFY(m_ring->IsRinging());
        // Turning the sound off meanwhile does not leave the ring running.
        m_settings->m_notifySound = 0;
        ringing->reject();
        QCOMPARE(m_sound.stopped, 1);
    }

    // The real sound: with no audio output it neither crashes nor holds the offer up.
    void realSoundWithoutAudio()
    {
        CRingPlayer player;
        const QPointer<CCallDlg> offer = new CCallDlg(*m_settings, QStringLiteral("x"), 1, {},
                                                      &player, 10ms);
        offer->show();
        QVERIFY(player.IsRinging());
        QTest::qWait(50);
        offer->reject();
        QVERIFY(!player.IsRinging());
        QTRY_VERIFY(offer.isNull());

        CSoundEffectRing ring;
        ring.Play();
        QTest::qWait(20);
    }

    // The ring loops: PCM, one channel, 22050 Hz, 16 bits, starting and ending on silence.
    void ringSoundFormat()
    {
        QFile file(QStringLiteral(":/console/ring.wav"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray wav = file.readAll();
        QVERIFY(wav.size() > 44);
        const auto u16 = [&wav](int at) { return qFromLittleEndian<quint16>(wav.constData() + at); };
        const auto u32 = [&wav](int at) { return qFromLittleEndian<quint32>(wav.constData() + at); };
        QCOMPARE(wav.left(4), QByteArray("RIFF"));
        QCOMPARE(wav.mid(8, 8), QByteArray("WAVEfmt "));
        QCOMPARE(u16(20), quint16(1));     // PCM
        QCOMPARE(u16(22), quint16(1));     // mono
        QCOMPARE(u32(24), quint32(22050)); // samples per second
        QCOMPARE(u16(34), quint16(16));    // bits
        QCOMPARE(wav.mid(36, 4), QByteArray("data"));
        const quint32 bytes = u32(40);
        QCOMPARE(qsizetype(bytes) + 44, wav.size());
        const double seconds = bytes / 2 / 22050.0;
        QVERIFY2(seconds > 0.3 && seconds <= 2.0, qPrintable(QString::number(seconds)));
        const auto sample = [&](qsizetype i) {
            return qFromLittleEndian<qint16>(wav.constData() + 44 + 2 * i);
        };
        QVERIFY(qAbs(sample(0)) < 64);
        QVERIFY(qAbs(sample(bytes / 2 - 1)) < 64);
    }
};

QTEST_MAIN(CallDlgTest)
#include "call_dlg_test.moc"
