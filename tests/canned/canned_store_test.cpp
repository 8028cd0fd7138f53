// The canned answers file on disk: which file is read, the built-in answers, and saves that
// fail without harming the previous file.
#include "file_helpers.h"
#include "canned_store.h"
#include "result_codes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <signal.h>
#include <sys/resource.h>

namespace {

using testing_support::Contents;
using testing_support::WriteFile;
using testing_support::FileSizeLimit;

QByteArray Bytes(const CannedAnswers& tree)
{
    const std::string bytes = SerializeCannedAnswers(tree);
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

const CannedAnswers kShipped = {{"Shipped", {{"From the package", "Hi there"}}, true}};
const CannedAnswers kOwn = {{"Own", {{"Mine", "Line one\r\nLine <b>two</b>"}}, true},
                            {"Second", {}, true}};

} // namespace

class CannedStoreTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void saveThenLoadRoundTrip();
    void wrongHeaderGivesNothingAndSaveRepairsIt_data();
    void wrongHeaderGivesNothingAndSaveRepairsIt();
    void shippedFileReadUntilOperatorHasOwn();
    void ownFileThatCannotBeOpenedGivesBuiltIns();
    void unwritableLocations_data();
    void unwritableLocations();
    void failedWriteKeepsPreviousFile();
    void anotherFileForTheWholeProcess();
    void damagedFileIsToldAndKeptBeforeItIsWritten();

private:
    QString OwnFile() const { return m_dir->path() + QStringLiteral("/data/Parlendo/canned.dat"); }
    QString ShippedFile() const { return m_dir->path() + QStringLiteral("/app/canned.dat"); }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void CannedStoreTest::initTestCase()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", QFile::encodeName(m_home->path()));
    // The default shipped file is the one beside this test: there must be none.
    QVERIFY(!QFile::exists(ShippedCannedAnswersFilePath()));
}

void CannedStoreTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_DATA_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/data")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/config")));
}

void CannedStoreTest::saveThenLoadRoundTrip()
{
    CannedAnswers tree = kOwn;
    tree[0].answers.push_back({"Bytes", std::string("\x00\xff\x80 \xc3\xa9", 7)});
    QCOMPARE(SaveCannedAnswers(tree), rc::kOk);
    QCOMPARE(Contents(OwnFile()), Bytes(tree));
    QVERIFY(LoadCannedAnswers() == tree);
    // Saving what was loaded writes the same bytes again.
    QCOMPARE(SaveCannedAnswers(LoadCannedAnswers()), rc::kOk);
    QCOMPARE(Contents(OwnFile()), Bytes(tree));
}

void CannedStoreTest::wrongHeaderGivesNothingAndSaveRepairsIt_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::newRow("empty file") << QByteArray();
    QTest::newRow("shorter than the header") << QByteArray("\x81\x38", 2);
    QTest::newRow("another file") << QByteArray("<html>not canned answers</html>");
}

void CannedStoreTest::wrongHeaderGivesNothingAndSaveRepairsIt()
{
    QFETCH(QByteArray, file);
    QVERIFY(WriteFile(OwnFile(), file));
    const CannedAnswers loaded = LoadCannedAnswers();
    QVERIFY(loaded.empty());
    QCOMPARE(SaveCannedAnswers(loaded), rc::kOk);
    QCOMPARE(Contents(OwnFile()), QByteArray("\x81\x38\x01\x00\x84\x38\x01\x00", 8));
}

void CannedStoreTest::shippedFileReadUntilOperatorHasOwn()
{
    QVERIFY(WriteFile(ShippedFile(), Bytes(kShipped)));
    QVERIFY(LoadCannedAnswers(OwnFile(), ShippedFile()) == kShipped);
    QCOMPARE(SaveCannedAnswers(kOwn, OwnFile()), rc::kOk);
    QVERIFY(LoadCannedAnswers(OwnFile(), ShippedFile()) == kOwn);
    QCOMPARE(Contents(ShippedFile()), Bytes(kShipped));
    // An own file that is empty of answers is still the operator's own.
    QCOMPARE(SaveCannedAnswers({}, OwnFile()), rc::kOk);
    QVERIFY(LoadCannedAnswers(OwnFile(), ShippedFile()).empty());
}

void CannedStoreTest::ownFileThatCannotBeOpenedGivesBuiltIns()
{
    QVERIFY(WriteFile(ShippedFile(), Bytes(kShipped)));
    QVERIFY(QDir().mkpath(OwnFile()));
    QVERIFY(LoadCannedAnswers(OwnFile(), ShippedFile()) == BuiltInCannedAnswers());
}

void CannedStoreTest::unwritableLocations_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("folder is a file") << QStringLiteral("/blocker/canned.dat");
    QTest::newRow("file is a folder") << QStringLiteral("/folder/canned.dat");
}

void CannedStoreTest::unwritableLocations()
{
    QFETCH(QString, path);
    QVERIFY(WriteFile(m_dir->path() + QStringLiteral("/blocker"), "x"));
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/folder/canned.dat")));
    QCOMPARE(SaveCannedAnswers(kOwn, m_dir->path() + path), rc::kFileNotSaved);
    QCOMPARE(Contents(m_dir->path() + QStringLiteral("/blocker")), QByteArray("x"));
}

void CannedStoreTest::failedWriteKeepsPreviousFile()
{
    QCOMPARE(SaveCannedAnswers(kOwn), rc::kOk);
    const QByteArray before = Contents(OwnFile());
    CannedAnswers larger = kOwn;
    larger[1].answers.push_back({"Long", std::string(4096, 'x')});
    int result = rc::kOk;
    {
        const FileSizeLimit limit(static_cast<rlim_t>(before.size() + 64));
        result = SaveCannedAnswers(larger);
    }
    QCOMPARE(result, rc::kFileNotSaved);
    QCOMPARE(Contents(OwnFile()), before);
    QCOMPARE(QDir(QFileInfo(OwnFile()).absolutePath()).entryList(QDir::Files),
             QStringList{QStringLiteral("canned.dat")});
}

void CannedStoreTest::anotherFileForTheWholeProcess()
{
    const QString demo = m_dir->path() + QStringLiteral("/demo/canned.dat");
    SetCannedAnswersFilePath(demo);
    const int saved = SaveCannedAnswers(kOwn);
    const bool loaded = LoadCannedAnswers() == kOwn;
    SetCannedAnswersFilePath(QString());
    QCOMPARE(saved, rc::kOk);
    QVERIFY(loaded);
    QCOMPARE(Contents(demo), Bytes(kOwn));
    QVERIFY(!QFile::exists(OwnFile()));
    QCOMPARE(CannedAnswersFilePath(), OwnFile());
}

void CannedStoreTest::damagedFileIsToldAndKeptBeforeItIsWritten()
{
    // One record cut in the middle: what comes after it cannot be read.
    QByteArray damaged = Bytes(kOwn);
    damaged.insert(damaged.indexOf("Second") - 4, QByteArray("\x83\x38\x01\x00\xff\xff\xff\x7f", 8));
    QVERIFY(WriteFile(OwnFile(), damaged));
    bool whole = true;
    const CannedAnswers read = LoadCannedAnswers(&whole);
    QVERIFY(!whole);
    QCOMPARE(read.size(), size_t(1));
    const QString kept = KeepDamagedCannedAnswers();
    QVERIFY(!kept.isEmpty());
    QCOMPARE(Contents(kept), damaged);
    QVERIFY(LoadCannedAnswers(&whole) == read && !whole);
    QCOMPARE(SaveCannedAnswers(read), rc::kOk);
    QVERIFY(LoadCannedAnswers(&whole) == read && whole);
}

QTEST_GUILESS_MAIN(CannedStoreTest)
#include "canned_store_test.moc"
