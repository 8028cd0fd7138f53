// The archive on its file: chats written at once keep their lines apart, in order, with times;
// searches place their matches; retention and deleting take the index along; a damaged file is
// replaced while chatting goes on; a locked one is waited for.
#include "history_fixture.h"

#include <QtTest>

using namespace history_testing;

namespace {

constexpr qint64 kDay = 24LL * 3600000;
constexpr auto kIndexed = "SELECT count(*) FROM lines_index WHERE lines_index MATCH 'zebra'";

QStringList Rows(const QList<CArchivedLine>& lines, bool whole = false)
{
    QStringList rows;
    for (const auto& [id, l, matches] : lines) {
        if (!whole)
            rows << l.text;
        else
            QDebug(&rows.emplace_back()).noquote()
                << l.at << int(l.kind) << l.speaker << l.own << l.text;
    }
    return rows;
}

} // namespace

class ChatArchiveTest final : public QObject
{
    Q_OBJECT

private slots:
    void chatsWrittenTogetherKeepTheirLines()
    {
        ScratchData data;
        CChatArchive archive;
        const auto mary = archive.BeginChat(41, "Ann", 1000);
        const auto tom = archive.BeginChat(42, "Ann", 1500);
        archive.SetVisitor(mary, "Mary");
        for (const CTranscriptLine& line : QList<CTranscriptLine>{
                 {2000, LineKind::Notice, {}, false, "Mary has joined this call"},
                 {3000, LineKind::Line, "Ann", true, "Hello"},
                 {2500, LineKind::Line, "Mary", false, "It is late\r\nsince Monday"}, // the clock
                 {4000, LineKind::Link, "Ann", true, "http://example.com/?id=1"},     // stepped
                 {5000, LineKind::Undelivered, {}, false, "Not delivered: x"}}) {     // back
            archive.AddLine(mary, line);
            archive.AddLine(tom, Said("Tom", "interleaved", false, line.at));
            archive.MarkTransferred(tom);
        }
        archive.EndChat(mary, 9000);
        QVERIFY(archive.Flush());
        QStringList chats;
        for (const CArchivedChat& c : archive.Chats({}, 10))
            QDebug(&chats.emplace_back()).noquote()
                << c.visitor << c.callId << c.operatorName << c.started << c.ended << c.transferred
                << c.lineCount;
        // Tom's was marked five times, and is once; it never ended.
        QCOMPARE(chats, (QStringList{" 42 Ann 1500 0 true 5 ", "Mary 41 Ann 1000 9000 false 5 "}));
        QCOMPARE(Rows(archive.Lines(archive.Chats({"Mary", {}, {}}, 1)[0].id), true),
                 (QStringList{"2000 4  false Mary has joined this call ", "3000 1 Ann true Hello ",
                              "2500 1 Mary false It is late\r\nsince Monday ",
                              "4000 2 Ann true http://example.com/?id=1 ",
                              "5000 5  false Not delivered: x "}));
        const auto mode =
            QFileInfo(data.File()).permissions() | QFileInfo(data.Folder()).permissions();
        QCOMPARE(mode.toInt() & 0077, 0); // nothing for the group or others
    }

    void search_data()
    {
        QTest::addColumn<CChatFilter>("filter");
        QTest::addColumn<QStringList>("visitors");
        QTest::addColumn<QStringList>("marked"); // in the first chat listed
        using L = QStringList;
        const auto f = [](const char* search, const char* op = "") {
            return CChatFilter{{}, op, search};
        };
        QTest::newRow("a word") << f("parcel") << L{"Mary"} << L{"parcel"};
        QTest::newRow("any order") << f("late PARCEL") << L{"Mary"} << L{"parcel", "late"};
        QTest::newRow("a phrase") << f("\"parcel is late\"") << L{"Mary"} << L{"parcel is late"};
        QTest::newRow("not that phrase") << f("\"late parcel\"") << L{} << L{};
        QTest::newRow("accents folded") << f("cafe") << L{"Jürgen"} << L{"Café"};
        QTest::newRow("stray syntax") << f("(parcel* \"Late") << L{"Mary"} << L{"parcel", "late"};
        QTest::newRow("operator, word") << f("of", "ann") << L{"Peter"} << L{"Of"};
        QTest::newRow("wildcard visitor") << CChatFilter{"%", {}, {}} << L{} << L{};
    }

    void search()
    {
        QFETCH(CChatFilter, filter);
        QFETCH(QStringList, visitors);
        QFETCH(QStringList, marked);
        ScratchData data;
        CChatArchive archive;
        FillThreeChats(archive, CChatArchive::Now());
        QVERIFY(archive.Flush());
        const QList<CArchivedChat> chats = archive.Chats(filter, 10);
        QStringList found;
        for (const CArchivedChat& chat : chats)
            found << chat.visitor;
        QCOMPARE(found, visitors);
        found.clear();
        for (const auto& [id, line, matches] : archive.Lines(chats.value(0).id, filter.search))
            for (const CMatchRange& match : matches)
                found << line.text.mid(match.start, match.length);
        QCOMPARE(found, marked);
    }

    void retentionAndDeleteTakeTheIndexAlong()
    {
        ScratchData data;
        const qint64 now = CChatArchive::Now();
        {
            CChatArchive earlier;
            for (const qint64 age : {40 * kDay, 10 * kDay}) {
                const auto key = earlier.BeginChat(1, "Ann", now - age);
                earlier.AddLine(key, Said("Mary", "zebra crossing", false, now - age));
                earlier.EndChat(key, now - age + 1000);
            }
            QVERIFY(earlier.Flush());
        }
        CChatArchive archive;
        const auto going = archive.BeginChat(2, "Ann", now - 50 * kDay); // this process's: stays
        archive.ApplyRetention(30, now);
        QVERIFY(archive.Flush());
        QCOMPARE(archive.Chats({}, 10).size(), 2);
        const RawConnection raw(data.File());
        QCOMPARE(raw.Exec(kIndexed), "1"); // the index alone: an entry left behind counts

        archive.DeleteAll();
        archive.AddLine(going, Said("Ann", "after the delete", true));
        QVERIFY(archive.Flush());
        QCOMPARE(raw.Exec(kIndexed), "0");
        QCOMPARE(Rows(archive.Lines(archive.Chats({}, 10).value(0).id)),
                 QStringList{"after the delete"});
        QFile file(data.File()); // gone from the disk, not only unlisted:
        QVERIFY(file.open(QIODevice::ReadOnly) && !file.readAll().contains("zebra"));
    }

    void damagedFileIsReplacedAndChattingGoesOn_data()
    {
        QTest::addColumn<qint64>("from");
        QTest::newRow("not a database") << qint64(0);
        QTest::newRow("broken pages") << qint64(4096); // past the header and table of tables
    }

    void damagedFileIsReplacedAndChattingGoesOn()
    {
        QFETCH(qint64, from);
        ScratchData data;
        {
            CChatArchive earlier;
            FillThreeChats(earlier, 0);
            QVERIFY(earlier.Flush());
        }
        QFile file(data.File());
        QVERIFY(file.open(QIODevice::ReadWrite) && file.seek(from));
        file.write(QByteArray(64 * 1024, '\x5a'));
        file.close();

        CChatArchive archive;
        QSignalSpy notices(&archive, &CChatArchive::Notice);
        const auto key = archive.BeginChat(7, "Ann");
        archive.AddLine(key, Said("Mary", "first"));
        QVERIFY(archive.Flush());
        archive.AddLine(key, Said("Mary", "second"));
        QVERIFY(archive.Flush());
        const QStringList aside = QDir(data.Folder()).entryList({"*.damaged-*"});
        QTRY_COMPARE(notices.size(), aside.size());
        QVERIFY(aside.size() == 1 && notices[0][0].toString().contains(aside[0]));
        const QList<CArchivedChat> chats = archive.Chats({}, 10);
        QCOMPARE(chats.size(), 1);
        QCOMPARE(Rows(archive.Lines(chats[0].id)), (QStringList{"first", "second"}));
    }

    void lockedFileIsWaitedForNotMoved()
    {
        ScratchData data;
        CChatArchive archive(QString(), {50, 50});
        const auto key = archive.BeginChat(7, "Ann");
        QVERIFY(archive.Flush());
        QSignalSpy notices(&archive, &CChatArchive::Notice);
        const RawConnection console2(data.File());
        QCOMPARE(console2.Exec("BEGIN IMMEDIATE"), QString());
        archive.AddLine(key, Said("Mary", "while it is locked"));
        QTRY_COMPARE(notices.size(), 1);
        const qint64 chat = archive.Chats({}, 1).value(0).id;
        QVERIFY(archive.Lines(chat).isEmpty()); // reading is not held up by the lock
        QCOMPARE(console2.Exec("COMMIT"), QString());
        QVERIFY(archive.Flush());
        QCOMPARE(Rows(archive.Lines(chat)), QStringList{"while it is locked"});
        QCOMPARE(QDir(data.Folder()).entryList({"*.damaged-*"}).size() + notices.size(), 1);
    }
};

QTEST_GUILESS_MAIN(ChatArchiveTest)
#include "chat_archive_test.moc"
