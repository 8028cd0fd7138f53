#include "file_helpers.h"
#include "missed_chats.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using testing_support::Contents;

class CMissedChatsTest final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    const QString m_path = m_dir.filePath("Parlendo/missed-chats.json");
    const CMissedChat m_transfer{{},    12,    3,      CMissedChat::kKindTransfer,
                                 "Ann", "Lee", "bill", false};

private slots:
    void init() { QFile::remove(m_path); }

    void survivesRestartsAndGoesAfterItsTime_data()
    {
        QTest::addColumn<int>("hoursLater");
        QTest::addColumn<int>("kept");
        QTest::newRow("restart") << 0 << 2;
        QTest::newRow("next day, one still young") << 24 << 1;
    }
    void survivesRestartsAndGoesAfterItsTime()
    {
        QFETCH(int, hoursLater);
        QFETCH(int, kept);
        QDateTime now = QDateTime::fromString("2024-03-01T09:30:00.250Z", Qt::ISODateWithMs);
        const QDateTime start = now;
        CMissedChats before(m_path);
        before.SetClock([&now] { return now; });
        before.Add({{}, 7, 1, CMissedChat::kKindCall, "Bob", "pricing", {}, false});
        before.MarkAllSeen();
        now = now.addSecs(3600);
        before.Add(m_transfer);
        now = start.addSecs(hoursLater * 3600 + 1800);
        CMissedChats after(m_path);
        after.SetClock([&now] { return now; });
        after.Load();
        QCOMPARE(after.Entries(), before.Entries().first(kept));
        QCOMPARE(after.UnseenCount(), kept > 0 ? 1 : 0);
    }

    void damagedFileIsLeftAlone_data()
    {
        QTest::addColumn<QByteArray>("from");
        QTest::addColumn<QByteArray>("to");
        QTest::newRow("cut short") << QByteArray("]") << QByteArray();
        QTest::newRow("not a time") << QByteArray("\"time\": \"") << QByteArray("\"time\": \"x");
    }
    void damagedFileIsLeftAlone()
    {
        QFETCH(QByteArray, from);
        QFETCH(QByteArray, to);
        CMissedChats(m_path).Add(m_transfer);
        QVERIFY(testing_support::WriteFile(m_path, Contents(m_path).replace(from, to)));
        CMissedChats chats(m_path);
        QSignalSpy note(&chats, &CMissedChats::Note);
        chats.Load();
        QCOMPARE(chats.rowCount(), 0);
        QCOMPARE(note.size(), 1);
    }

    // A disk that fills up while saving must not cost the list saved before.
    void failedSaveLeavesTheOldListWhole()
    {
        CMissedChats chats(m_path);
        chats.Add(m_transfer);
        const QByteArray saved = Contents(m_path);
        QSignalSpy note(&chats, &CMissedChats::Note);
        {
            testing_support::FileSizeLimit limit(saved.size() + 20);
            chats.Add(m_transfer);
        }
        QCOMPARE(note.size(), 1);
        QCOMPARE(Contents(m_path), saved);
    }
};

QTEST_GUILESS_MAIN(CMissedChatsTest)
#include "missed_chats_test.moc"
