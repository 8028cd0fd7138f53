// The layout profile against its INI file: first run, round trips, defaults of single values,
// NumCols against the real column count, damaged and unwritable profiles.
#include "file_helpers.h"
#include "layout_profile.h"
#include "result_codes.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(std::optional<WindowPlacement>)

namespace {

using testing_support::Contents;
using testing_support::WriteFile;

WindowPlacement Placement(int show, int left, int top, int right, int bottom)
{
    return {show, left, top, right, bottom};
}

const QString kMain = QString::fromLatin1(LayoutSection::MainWindow);
const QString kChat = QString::fromLatin1(LayoutSection::ChatWindow);
const QString kUsers = QString::fromLatin1(LayoutSection::UserList);
const QString kPages = QString::fromLatin1(LayoutSection::PageList);

} // namespace

class LayoutProfileTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void firstRunHasNothingStored();
    void placementRoundTrip_data();
    void placementRoundTrip();
    void fileHoldsSectionsAndDecimalValues();
    void storedValuesAndTheirDefaults_data();
    void storedValuesAndTheirDefaults();
    void sectionsStayApart();
    void columnWidthsFromFile_data();
    void columnWidthsFromFile();
    void fewerColumnsSavedLeaveOldValuesInPlace();
    void newFolderIsPrivate();
    void damagedProfileIsReadAndRewritten();
    void unwritableProfile_data();
    void unwritableProfile();
    void readOnlyFolderFailsWithoutRoot();

private:
    QString Profile() const
    {
        return m_dir->path() + QStringLiteral("/config/Parlendo/parlendo.ini");
    }

    std::unique_ptr<QTemporaryDir> m_home;
    std::unique_ptr<QTemporaryDir> m_dir;
};

void LayoutProfileTest::initTestCase()
{
    m_home = std::make_unique<QTemporaryDir>();
    QVERIFY(m_home->isValid());
    qputenv("HOME", QFile::encodeName(m_home->path()));
}

void LayoutProfileTest::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir->path() + QStringLiteral("/config")));
}

void LayoutProfileTest::firstRunHasNothingStored()
{
    const CLayoutProfile profile;
    QCOMPARE(profile.FilePath(), Profile());
    QVERIFY(!profile.LoadWindowPlacement(kMain).has_value());
    QVERIFY(!profile.LoadWindowPlacement(kChat).has_value());
    QVERIFY(profile.LoadColumnWidths(kUsers, 3).isEmpty());
    QVERIFY(profile.LoadColumnWidths(kPages, 2).isEmpty());
    QVERIFY(!QFile::exists(Profile()));
}

void LayoutProfileTest::placementRoundTrip_data()
{
    QTest::addColumn<WindowPlacement>("placement");
    QTest::newRow("normal") << Placement(1, 10, 20, 810, 620);
    QTest::newRow("maximised keeps its normal rectangle") << Placement(3, 100, 50, 900, 650);
    QTest::newRow("minimised") << Placement(2, 0, 0, 458, 209);
    QTest::newRow("left of the primary") << Placement(1, -1280, -20, -300, 700);
}

void LayoutProfileTest::placementRoundTrip()
{
    QFETCH(WindowPlacement, placement);
    QCOMPARE(CLayoutProfile().SaveWindowPlacement(kMain, placement), rc::kOk);
    const std::optional<WindowPlacement> loaded = CLayoutProfile().LoadWindowPlacement(kMain);
    QVERIFY(loaded.has_value());
    QVERIFY(*loaded == placement);
}

void LayoutProfileTest::fileHoldsSectionsAndDecimalValues()
{
    const CLayoutProfile profile;
    QCOMPARE(profile.SaveWindowPlacement(kMain, Placement(3, 10, 20, -300, 400)), rc::kOk);
    QCOMPARE(profile.SaveColumnWidths(kUsers, {220, 120, 100}), rc::kOk);
    const QList<QByteArray> lines = Contents(Profile()).split('\n');
    for (const QByteArray line :
         {"[MainWindow]", "Show=3", "Left=10", "Top=20", "Right=-300", "Bottom=400", "[UserList]",
          "NumCols=3", "Col0=220", "Col1=120", "Col2=100"})
        QVERIFY2(lines.contains(line), line.constData());
    QVERIFY(lines.indexOf("[MainWindow]") < lines.indexOf("Show=3"));
    QVERIFY(lines.indexOf("[UserList]") < lines.indexOf("Col0=220"));
}

void LayoutProfileTest::storedValuesAndTheirDefaults_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<std::optional<WindowPlacement>>("loaded");
    QTest::newRow("Show without edges")
        << QByteArray("Show=3\n") << std::optional(Placement(3, 40, 40, 600, 400));
    QTest::newRow("Show with some edges") << QByteArray("Show=1\nLeft=100\nBottom=900\n")
                                          << std::optional(Placement(1, 100, 40, 600, 900));
    QTest::newRow("edge that is not a number")
        << QByteArray("Show=2\nRight=wide\n") << std::optional(Placement(2, 40, 40, 600, 400));
    QTest::newRow("Show stored as -1")
        << QByteArray("Show=-1\nLeft=5\n") << std::optional<WindowPlacement>();
    QTest::newRow("Show that is not a number")
        << QByteArray("Show=max\nLeft=5\n") << std::optional<WindowPlacement>();
    QTest::newRow("edges without Show")
        << QByteArray("Left=5\nTop=5\nRight=50\nBottom=50\n") << std::optional<WindowPlacement>();
    QTest::newRow("unknown show state kept as stored")
        << QByteArray("Show=0\n") << std::optional(Placement(0, 40, 40, 600, 400));
}

void LayoutProfileTest::storedValuesAndTheirDefaults()
{
    QFETCH(QByteArray, section);
    QFETCH(std::optional<WindowPlacement>, loaded);
    QVERIFY(WriteFile(Profile(), "[ChatWindow]\n" + section + "[MainWindow]\nShow=1\n"));
    const std::optional<WindowPlacement> placement = CLayoutProfile().LoadWindowPlacement(kChat);
    QCOMPARE(placement.has_value(), loaded.has_value());
    if (loaded)
        QVERIFY(*placement == *loaded);
}

void LayoutProfileTest::sectionsStayApart()
{
    const CLayoutProfile profile;
    QCOMPARE(profile.SaveWindowPlacement(kMain, Placement(3, 1, 2, 3, 4)), rc::kOk);
    QCOMPARE(profile.SaveColumnWidths(kPages, {410, 100}), rc::kOk);
    QCOMPARE(profile.SaveColumnWidths(kUsers, {220, 120, 100}), rc::kOk);
    // Every chat window writes the one section; the one closed last wins.
    QCOMPARE(profile.SaveWindowPlacement(kChat, Placement(1, 5, 6, 7, 8)), rc::kOk);
    QCOMPARE(profile.SaveWindowPlacement(kChat, Placement(1, 50, 60, 70, 80)), rc::kOk);

    const CLayoutProfile reread;
    QVERIFY(*reread.LoadWindowPlacement(kMain) == Placement(3, 1, 2, 3, 4));
    QVERIFY(*reread.LoadWindowPlacement(kChat) == Placement(1, 50, 60, 70, 80));
    QCOMPARE(reread.LoadColumnWidths(kPages, 2), (QList<int>{410, 100}));
    QCOMPARE(reread.LoadColumnWidths(kUsers, 3), (QList<int>{220, 120, 100}));
}

void LayoutProfileTest::columnWidthsFromFile_data()
{
    QTest::addColumn<QByteArray>("section");
    QTest::addColumn<int>("columns");
    QTest::addColumn<QList<int>>("widths");
    QTest::newRow("as many as the list")
        << QByteArray("NumCols=3\nCol0=220\nCol1=120\nCol2=100\n") << 3 << QList{220, 120, 100};
    QTest::newRow("NumCols larger than the columns")
        << QByteArray("NumCols=5\nCol0=1\nCol1=2\nCol2=3\nCol3=4\nCol4=5\n") << 3 << QList{1, 2, 3};
    QTest::newRow("NumCols smaller than the columns")
        << QByteArray("NumCols=2\nCol0=300\nCol1=90\nCol2=70\n") << 3 << QList{300, 90};
    QTest::newRow("a width missing")
        << QByteArray("NumCols=3\nCol0=10\nCol2=30\n") << 3 << QList{10, 0, 30};
    QTest::newRow("zero hides") << QByteArray("NumCols=2\nCol0=0\nCol1=80\n") << 2 << QList{0, 80};
    QTest::newRow("low 16 bits") << QByteArray("NumCols=2\nCol0=70000\nCol1=-1\n") << 2
                                 << QList{4464, 65535};
    QTest::newRow("width not a number") << QByteArray("NumCols=1\nCol0=wide\n") << 1 << QList{0};
    QTest::newRow("negative NumCols") << QByteArray("NumCols=-4\nCol0=10\n") << 3 << QList<int>{};
    QTest::newRow("huge NumCols") << QByteArray("NumCols=2000000000\nCol0=7\n") << 2 << QList{7, 0};
    QTest::newRow("no NumCols") << QByteArray("Col0=10\nCol1=20\n") << 2 << QList<int>{};
    QTest::newRow("list without columns")
        << QByteArray("NumCols=2\nCol0=10\n") << 0 << QList<int>{};
}

void LayoutProfileTest::columnWidthsFromFile()
{
    QFETCH(QByteArray, section);
    QFETCH(int, columns);
    QFETCH(QList<int>, widths);
    QVERIFY(WriteFile(Profile(), "[UserList]\n" + section + "[PageList]\nNumCols=1\nCol0=999\n"));
    QCOMPARE(CLayoutProfile().LoadColumnWidths(kUsers, columns), widths);
}

void LayoutProfileTest::fewerColumnsSavedLeaveOldValuesInPlace()
{
    const CLayoutProfile profile;
    QCOMPARE(profile.SaveColumnWidths(kPages, {410, 100}), rc::kOk);
    QCOMPARE(profile.SaveColumnWidths(kPages, {50}), rc::kOk);
    QCOMPARE(profile.LoadColumnWidths(kPages, 2), QList<int>{50});
    QVERIFY(Contents(Profile()).split('\n').contains("Col1=100"));
}

void LayoutProfileTest::newFolderIsPrivate()
{
    QCOMPARE(CLayoutProfile().SaveColumnWidths(kUsers, {1}), rc::kOk);
    struct stat info = {};
    QCOMPARE(::stat(QFile::encodeName(QFileInfo(Profile()).absolutePath()).constData(), &info), 0);
    QCOMPARE(info.st_mode & 0777, 0700u);
}

void LayoutProfileTest::damagedProfileIsReadAndRewritten()
{
    QVERIFY(WriteFile(Profile(), QByteArray("[MainWindow]\nShow=3\nLeft=7\n\x01\x02 garbage\n"
                                            "[UserList]\nNumCols=1\nCol0=55\n")));
    const CLayoutProfile profile;
    QCOMPARE(profile.LoadWindowPlacement(kMain)->left, 7);
    QCOMPARE(profile.SaveWindowPlacement(kChat, Placement(1, 1, 1, 100, 100)), rc::kOk);
    QVERIFY(!Contents(Profile()).contains("garbage"));
    const CLayoutProfile reread;
    QCOMPARE(reread.LoadColumnWidths(kUsers, 1), QList<int>{55});
    QVERIFY(*reread.LoadWindowPlacement(kChat) == Placement(1, 1, 1, 100, 100));
    QCOMPARE(reread.LoadWindowPlacement(kMain)->show, 3);
}

void LayoutProfileTest::unwritableProfile_data()
{
    QTest::addColumn<QString>("path");
    QTest::newRow("folder is a file") << QStringLiteral("/blocker/parlendo.ini");
    QTest::newRow("profile is a folder") << QStringLiteral("/folder.ini");
}

void LayoutProfileTest::unwritableProfile()
{
    QFETCH(QString, path);
    QVERIFY(WriteFile(m_dir->path() + QStringLiteral("/blocker"), "x"));
    QVERIFY(QDir().mkpath(m_dir->path() + QStringLiteral("/folder.ini")));
    const CLayoutProfile profile(m_dir->path() + path);
    QCOMPARE(profile.SaveWindowPlacement(kMain, Placement(1, 1, 2, 3, 4)), rc::kFileNotSaved);
    QCOMPARE(profile.SaveColumnWidths(kUsers, {1, 2}), rc::kFileNotSaved);
    QVERIFY(!profile.LoadWindowPlacement(kMain).has_value());
}

void LayoutProfileTest::readOnlyFolderFailsWithoutRoot()
{
    if (::geteuid() == 0)
        QSKIP("root writes into read-only folders");
    // Damaged as well: the reader's FormatError must not hide the failed write.
    QVERIFY(WriteFile(Profile(), "[MainWindow]\ngarbage\nShow=1\n"));
    const QByteArray folder = QFile::encodeName(QFileInfo(Profile()).absolutePath());
    QVERIFY(::chmod(folder.constData(), 0500) == 0);
    const int result = CLayoutProfile().SaveWindowPlacement(kMain, Placement(3, 1, 2, 3, 4));
    ::chmod(folder.constData(), 0700);
    QCOMPARE(result, rc::kFileNotSaved);
    QCOMPARE(Contents(Profile()), QByteArray("[MainWindow]\ngarbage\nShow=1\n"));
}

QTEST_GUILESS_MAIN(LayoutProfileTest)
#include "layout_profile_test.moc"
