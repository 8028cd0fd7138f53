// The archive against its real file: two chats written at once keep their lines apart, in
// order, with their times; search by words and phrases with the matches placed; retention and
// deleting take the index entries along; a damaged file is replaced while chatting goes on; a
// file locked by another console is waited for, never moved.
#include "chat_archive.h"
#include "history_fixture.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QtTest>
#include <memory>

using namespace history_testing;

namespace {

constexpr qint64 kDay = 24LL * 3600 * 1000;

QStringList Visitors(const QList<CArchivedChat>& chats)
{
    QStringList names;
    for (const CArchivedChat& chat : chats)
        names << chat.visitor;
    return names;
}

QStringList Texts(const QList<CArchivedLine>& lines)
{
    QStringList texts;
    for (const CArchivedLine& line : lines)
        texts << line.line.text;
    return texts;
}

QStringList MovedAside(const ScratchData& data)
{
    return QDir(data.Folder()).entryList({QStringLiteral("history.sqlite.damaged-*")});
}

} // namespace

class ChatArchiveTest final : public QObject
{
    Q_OBJECT

private slots:
    void init() { m_data = std::make_unique<ScratchData>(); }

    void chatsWrittenTogetherKeepTheirLines()
    {
        const QList<CTranscriptLine> maryLines = {
            {2000, LineKind::Notice, {}, false, "Mary has joined this call"},
            {3000, LineKind::Line, "Ann", true, "Hello, how can I help?"},
            // The clock stepped back: the order is still the order shown.
            {2500, LineKind::Line, "Mary", false, "My parcel is late\r\nsince Monday"},
            {4000, LineKind::Link, "Ann", true, "http://example.com/track?id=1"},
            {5000, LineKind::Undelivered, {}, false, "This message could not be delivered: x"},
        };
        {
            CChatArchive archive;
            const auto mary = archive.BeginChat(41, "Ann", 1000);
            const auto tom = archive.BeginChat(42, "Ann", 1500);
            archive.SetVisitor(mary, "Mary");
            for (const CTranscriptLine& line : maryLines) {
                archive.AddLine(mary, line);
                archive.AddLine(tom, Said("Tom", "interleaved", false, line.at));
                archive.MarkTransferred(tom);
            }
            archive.EndChat(mary, 9000);
            QVERIFY(archive.Flush());
        }
        CChatArchive archive; // as the next start of the console finds it
        const QList<CArchivedChat> chats = archive.Chats({}, 10);
        QCOMPARE(chats.size(), 2);
        const CArchivedChat& tom = chats[0];
        const CArchivedChat& mary = chats[1];
        QCOMPARE(mary.visitor, QStringLiteral("Mary"));
        QCOMPARE(mary.callId, 41);
        QCOMPARE(mary.operatorName, QStringLiteral("Ann"));
        QCOMPARE(mary.started, 1000);
        QCOMPARE(mary.ended, 9000);
        QVERIFY(!mary.transferred);
        QVERIFY(tom.transferred);
        QCOMPARE(tom.ended, 0);
        QCOMPARE(tom.lineCount, maryLines.size());
        const QList<CArchivedLine> lines = archive.Lines(mary.id);
        QCOMPARE(lines.size(), maryLines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            QCOMPARE(lines[i].line.at, maryLines[i].at);
            QCOMPARE(lines[i].line.kind, maryLines[i].kind);
            QCOMPARE(lines[i].line.speaker, maryLines[i].speaker);
            QCOMPARE(lines[i].line.own, maryLines[i].own);
            QCOMPARE(lines[i].line.text, maryLines[i].text);
        }

        const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup |
                                          QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
        QCOMPARE(QFileInfo(m_data->File()).permissions() & others, QFile::Permissions());
        QCOMPARE(QFileInfo(m_data->Folder()).permissions() & others, QFile::Permissions());
        QVariant journal;
        QCOMPARE(RawConnection(m_data->File()).Exec("PRAGMA journal_mode", &journal), QString());
        QCOMPARE(journal.toString(), QStringLiteral("wal"));
    }

    void search_data()
    {
        QTest::addColumn<CChatFilter>("filter");
        QTest::addColumn<QStringList>("visitors");
        QTest::addColumn<QStringList>("marked"); // in the first chat listed
        const auto search = [](const char* text) { return CChatFilter{{}, {}, text}; };
        QTest::newRow("a word") << search("parcel") << QStringList{"Mary"}
                                << QStringList{"parcel"};
        QTest::newRow("words in any order")
            << search("late PARCEL") << QStringList{"Mary"} << QStringList{"parcel", "late"};
        QTest::newRow("a phrase") << search("\"parcel is late\"") << QStringList{"Mary"}
                                  << QStringList{"parcel is late"};
        QTest::newRow("a phrase out of order") << search("\"late parcel\"") << QStringList{}
                                               << QStringList{};
        QTest::newRow("accents folded") << search("cafe") << QStringList{"Jürgen"}
                                        << QStringList{"Café"};
        QTest::newRow("index syntax is only words")
            << search("parcel OR refund") << QStringList{} << QStringList{};
        QTest::newRow("stray syntax") << search("(parcel* \"Late") << QStringList{"Mary"}
                                      << QStringList{"parcel", "late"};
        QTest::newRow("a visitor") << CChatFilter{"ar", {}, {}} << QStringList{"Mary"}
                                   << QStringList{};
        QTest::newRow("an operator and a word") << CChatFilter{{}, "ann", "of"}
                                                << QStringList{"Peter"} << QStringList{"Of"};
        QTest::newRow("wildcards are letters") << CChatFilter{"%", {}, {}} << QStringList{}
                                               << QStringList{};
    }

    void search()
    {
        QFETCH(CChatFilter, filter);
        QFETCH(QStringList, visitors);
        QFETCH(QStringList, marked);
        CChatArchive archive;
        FillThreeChats(archive, CChatArchive::Now());
        QVERIFY(archive.Flush());
        const QList<CArchivedChat> chats = archive.Chats(filter, 10);
        QCOMPARE(Visitors(chats), visitors);
        QStringList found;
        for (const CArchivedLine& line : archive.Lines(chats.value(0).id, filter.search)) {
            for (const CMatchRange& match : line.matches)
                found << line.line.text.mid(match.start, match.length);
        }
        QCOMPARE(found, marked);
    }

    void retentionAndDeleteTakeTheIndexAlong()
    {
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
        const auto going = archive.BeginChat(2, "Ann", now - 50 * kDay); // this process's
        archive.ApplyRetention(30, now);
        QVERIFY(archive.Flush());
        QCOMPARE(archive.Chats({{}, {}, "zebra"}, 10).size(), 1);
        QCOMPARE(archive.Chats({}, 10).size(), 2);
        // Checks the index against the lines: an entry left behind fails it.
        RawConnection raw(m_data->File());
        QCOMPARE(raw.Exec("INSERT INTO lines_index(lines_index) VALUES('integrity-check')"),
                 QString());

        archive.DeleteAll();
        archive.AddLine(going, Said("Ann", "after the delete", true));
        QVERIFY(archive.Flush());
        QCOMPARE(raw.Exec("INSERT INTO lines_index(lines_index) VALUES('integrity-check')"),
                 QString());
        const QList<CArchivedChat> left = archive.Chats({}, 10);
        QCOMPARE(left.size(), 1);
        QCOMPARE(Texts(archive.Lines(left[0].id)), QStringList{"after the delete"});
        QFile file(m_data->File());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(!file.readAll().contains("zebra")); // gone from the disk, not only unlisted
    }

    void damagedFileIsReplacedAndChattingGoesOn_data()
    {
        QTest::addColumn<bool>("brokenPages");
        QTest::newRow("not a database") << false;
        QTest::newRow("broken pages") << true;
    }

    void damagedFileIsReplacedAndChattingGoesOn()
    {
        QFETCH(bool, brokenPages);
        if (brokenPages) {
            CChatArchive earlier;
            const auto key = earlier.BeginChat(1, "Ann");
            for (int i = 0; i < 300; ++i)
                earlier.AddLine(key, Said("Mary", QStringLiteral("line %1 ").arg(i).repeated(20)));
            QVERIFY(earlier.Flush());
        }
        QFile file(m_data->File());
        QVERIFY(QDir().mkpath(m_data->Folder()) && file.open(QIODevice::ReadWrite));
        file.seek(brokenPages ? 4096 : 0); // past the header and the table of tables
        file.write(QByteArray(64 * 1024, '\x5a'));
        file.close();

        CChatArchive archive;
        QSignalSpy notices(&archive, &CChatArchive::Notice);
        const auto key = archive.BeginChat(7, "Ann");
        archive.AddLine(key, Said("Mary", "first"));
        QVERIFY(archive.Flush());
        archive.AddLine(key, Said("Mary", "second"));
        QVERIFY(archive.Flush());

        QCOMPARE(MovedAside(*m_data).size(), 1);
        QTRY_COMPARE(notices.size(), 1);
        QVERIFY(notices[0][0].toString().contains(MovedAside(*m_data)[0]));
        const QList<CArchivedChat> chats = archive.Chats({}, 10);
        QCOMPARE(chats.size(), 1);
        QCOMPARE(Texts(archive.Lines(chats[0].id)), (QStringList{"first", "second"}));
    }

    void lockedFileIsWaitedForNotMoved()
    {
        CChatArchive archive(QString(), {50, 50});
        const auto key = archive.BeginChat(7, "Ann");
        QVERIFY(archive.Flush());
        QSignalSpy notices(&archive, &CChatArchive::Notice);
        RawConnection console2(m_data->File());
        QCOMPARE(console2.Exec("BEGIN IMMEDIATE"), QString());

        archive.AddLine(key, Said("Mary", "while it is locked"));
        QTRY_COMPARE(notices.size(), 1);
        const qint64 chat = archive.Chats({}, 1).value(0).id;
        QVERIFY(archive.Lines(chat).isEmpty()); // reading is not held up by the lock
        archive.AddLine(key, Said("Mary", "still locked"));

        QCOMPARE(console2.Exec("COMMIT"), QString());
        QVERIFY(archive.Flush());
        QCOMPARE(Texts(archive.Lines(chat)), (QStringList{"while it is locked", "still locked"}));
        QVERIFY(MovedAside(*m_data).isEmpty());
        QCOMPARE(notices.size(), 1);
    }

private:
    std::unique_ptr<ScratchData> m_data;
};

QTEST_GUILESS_MAIN(ChatArchiveTest)
#include "chat_archive_test.moc"
