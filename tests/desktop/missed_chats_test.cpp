#include "file_helpers.h"
#include "missed_chats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using testing_support::Contents;
using testing_support::WriteFile;

namespace {

const QDateTime kStart =
    QDateTime::fromString(QStringLiteral("2024-03-01T09:30:00.250Z"), Qt::ISODateWithMs);

CMissedChat Transfer()
{
    return {{}, 12, 3, CMissedChat::kKindTransfer, "Ann", "Lee", "about the invoice", false};
}

} // namespace

class CMissedChatsTest final : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    QString Path() const { return m_dir.filePath("Parlendo/missed-chats.json"); }

private slots:
    void init() { QFile::remove(Path()); }

    void survivesRestartAndGoesAfterItsTime_data()
    {
        QTest::addColumn<int>("hoursLater");
        QTest::addColumn<int>("kept");
        QTest::newRow("restart") << 0 << 2;
        QTest::newRow("next day, one still young") << 24 << 1;
        QTest::newRow("two days") << 48 << 0;
    }
    void survivesRestartAndGoesAfterItsTime()
    {
        QFETCH(int, hoursLater);
        QFETCH(int, kept);
        QDateTime now = kStart;
        CMissedChats before(Path());
        before.SetClock([&now] { return now; });
        before.Load();
        before.Add({{}, 7, 1, CMissedChat::kKindCall, "Bob", "pricing", {}, false});
        before.MarkAllSeen();
        now = now.addSecs(3600);
        before.Add(Transfer());
        QCOMPARE(before.UnseenCount(), 1);

        CMissedChats after(Path());
        after.SetClock([t = kStart.addSecs(hoursLater * 3600 + 1800)] { return t; });
        QSignalSpy note(&after, &CMissedChats::Note);
        after.Load();
        QCOMPARE(after.Entries(), before.Entries().first(kept));
        QCOMPARE(after.UnseenCount(), kept > 0 ? 1 : 0);
        QCOMPARE(note.size(), 0);
    }

    void damagedFileIsSetAside_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        const auto document = [](int version, const QJsonObject& entry) {
            return QJsonDocument(QJsonObject{{"version", version}, {"entries", QJsonArray{entry}}})
                .toJson();
        };
        const QJsonObject good{{"time", "2024-03-01T09:30:00Z"},
                               {"callId", 1},
                               {"number", 1},
                               {"kind", 1},
                               {"text1", "Ann"},
                               {"text2", ""},
                               {"text3", ""},
                               {"seen", false}};
        QJsonObject noTime = good;
        noTime.remove("time");
        QJsonObject badTime = good;
        badTime["time"] = "yesterday";
        QTest::newRow("garbage") << QByteArray("\x89PNG\r\n\x1a\n\0\0", 10);
        QTest::newRow("cut short") << document(1, good).left(40);
        QTest::newRow("other version") << document(7, good);
        QTest::newRow("entry without a time") << document(1, noTime);
        QTest::newRow("time that is not one") << document(1, badTime);
    }
    void damagedFileIsSetAside()
    {
        QFETCH(QByteArray, bytes);
        QVERIFY(WriteFile(Path(), bytes));
        CMissedChats chats(Path());
        QSignalSpy note(&chats, &CMissedChats::Note);
        chats.Load();
        QCOMPARE(chats.rowCount(), 0);
        QCOMPARE(note.size(), 1);
        chats.Add(Transfer()); // the next save makes the file good again
        CMissedChats again(Path());
        again.Load();
        QCOMPARE(again.Entries(), chats.Entries());
    }

    void failedSaveLeavesTheOldListWhole()
    {
        CMissedChats chats(Path());
        chats.Load();
        chats.Add(Transfer());
        const QByteArray saved = Contents(Path());
        QSignalSpy note(&chats, &CMissedChats::Note);
        {
            testing_support::FileSizeLimit limit(saved.size() + 20);
            chats.Add(Transfer());
        }
        QCOMPARE(note.size(), 1);
        QCOMPARE(Contents(Path()), saved);
    }
};

QTEST_GUILESS_MAIN(CMissedChatsTest)
#include "missed_chats_test.moc"
