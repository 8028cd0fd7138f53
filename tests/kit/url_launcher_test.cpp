// Which addresses reach the desktop, and as what: web and mail addresses, host names without a
// scheme, the shipped licence by name or path; never other schemes, other files, bare names or
// anything a shell would read as more than one address.
#include "url_launcher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {

void WriteFile(const QString& path, QFileDevice::Permissions permissions = {})
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("text\n");
    file.close();
    if (permissions)
        QVERIFY(file.setPermissions(permissions));
}

} // namespace

class UrlLauncherTest final : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void onlyAllowedAddressesReachTheDesktop_data();
    void onlyAllowedAddressesReachTheDesktop();
    void desktopRefusalIsReported();
    void addressesFromTheNetworkOpenOnlyAsWebPages_data();
    void addressesFromTheNetworkOpenOnlyAsWebPages();

private:
    QTemporaryDir m_shipped;
    QTemporaryDir m_elsewhere;
};

void UrlLauncherTest::initTestCase()
{
    QVERIFY(m_shipped.isValid() && m_elsewhere.isValid());
    WriteFile(m_shipped.filePath(QStringLiteral("license.txt")));
    WriteFile(m_shipped.filePath(QStringLiteral("notes.txt")));
    WriteFile(m_shipped.filePath(QStringLiteral("parlendo")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    WriteFile(m_elsewhere.filePath(QStringLiteral("license.txt")));
}

void UrlLauncherTest::onlyAllowedAddressesReachTheDesktop_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<int>("result");
    QTest::addColumn<QString>("opened"); // what the desktop receives, fully encoded; empty: nothing

    const int ok = CUrlLauncher::kOpened;
    const int denied = CUrlLauncher::kAccessDenied;
    const int missing = CUrlLauncher::kFileNotFound;
    const QString license = QUrl::fromLocalFile(m_shipped.filePath(QStringLiteral("license.txt")))
                                .toString(QUrl::FullyEncoded);

    QTest::newRow("http") << "http://example.com/page.aspx?u=a&p=b" << ok
                          << "http://example.com/page.aspx?u=a&p=b";
    QTest::newRow("https, scheme in capitals")
        << "HTTPS://Example.com/" << ok << "https://example.com/";
    QTest::newRow("ftp") << "ftp://ftp.example.com/file.zip" << ok
                         << "ftp://ftp.example.com/file.zip";
    QTest::newRow("mailto") << "mailto:ops@example.com" << ok << "mailto:ops@example.com";
    QTest::newRow("host without scheme")
        << "www.example.com/shop" << ok << "http://www.example.com/shop";
    QTest::newRow("blanks around") << "  http://example.com/  " << ok << "http://example.com/";
    // Whatever a shell would make of these, they stay part of one address.
    QTest::newRow("shell characters") << "http://example.com/a b\";rm -rf ~;`id`|$(x)" << ok
                                      << "http://example.com/a%20b%22;rm%20-rf%20~;%60id%60%7C$(x)";
    QTest::newRow("looks like an option")
        << "--new-tab http://example.com/" << CUrlLauncher::kFileNotFound << "";

    QTest::newRow("javascript") << "javascript:alert(1)" << denied << "";
    QTest::newRow("data") << "data:text/html,<script>alert(1)</script>" << denied << "";
    QTest::newRow("smb share") << "smb://server/share" << denied << "";
    QTest::newRow("system file") << "file:///etc/passwd" << denied << "";
    QTest::newRow("other file beside the licence")
        << QUrl::fromLocalFile(m_shipped.filePath(QStringLiteral("notes.txt"))).toString() << denied
        << "";
    QTest::newRow("same name, other folder")
        << QUrl::fromLocalFile(m_elsewhere.filePath(QStringLiteral("license.txt"))).toString()
        << denied << "";
    QTest::newRow("drive letter") << "C:\\Windows\\system32\\cmd.exe" << denied << "";

    QTest::newRow("licence by name") << "license.txt" << ok << license;
    QTest::newRow("licence by ./name") << "./license.txt" << ok << license;
    QTest::newRow("licence as file URL")
        << QUrl::fromLocalFile(m_shipped.filePath(QStringLiteral("license.txt"))).toString() << ok
        << license;
    QTest::newRow("licence through ..")
        << QUrl::fromLocalFile(m_shipped.filePath(QStringLiteral("../") +
                                                  QDir(m_shipped.path()).dirName() +
                                                  QStringLiteral("/license.txt")))
               .toString()
        << ok << license;
    QTest::newRow("another shipped name, missing") << "readme.txt" << missing << "";
    QTest::newRow("file beside the licence by name") << "notes.txt" << missing << "";
    QTest::newRow("the executable by name") << "parlendo" << missing << "";
    QTest::newRow("climbing out") << "../license.txt" << missing << "";
    QTest::newRow("absolute path") << "/etc/passwd" << missing << "";
    QTest::newRow("empty") << "" << missing << "";
    QTest::newRow("blank") << "   " << missing << "";
    QTest::newRow("web address without host") << "http:///page" << missing << "";
}

void UrlLauncherTest::onlyAllowedAddressesReachTheDesktop()
{
    QFETCH(QString, address);
    QFETCH(int, result);
    QFETCH(QString, opened);

    QList<QUrl> calls;
    CUrlLauncher launcher([&calls](const QUrl& url) {
        calls.append(url);
        return true;
    });
    launcher.SetShippedFiles({m_shipped.path()},
                             {QStringLiteral("license.txt"), QStringLiteral("readme.txt")});

    QCOMPARE(launcher.OpenUrl(address), result);
    QCOMPARE(calls.size(), opened.isEmpty() ? 0 : 1);
    if (!opened.isEmpty())
        QCOMPARE(calls.at(0).toString(QUrl::FullyEncoded), opened);
}

void UrlLauncherTest::desktopRefusalIsReported()
{
    int calls = 0;
    const CUrlLauncher launcher([&calls](const QUrl&) {
        ++calls;
        return false;
    });
    QCOMPARE(launcher.OpenUrl(QStringLiteral("http://example.com/")), CUrlLauncher::kNoAssociation);
    QCOMPARE(calls, 1);
}

void UrlLauncherTest::addressesFromTheNetworkOpenOnlyAsWebPages_data()
{
    QTest::addColumn<QString>("address");
    QTest::addColumn<bool>("opens");
    QTest::newRow("web page") << "https://example.com/?q=<b>" << true;
    QTest::newRow("host without scheme") << "www.example.com" << true;
    QTest::newRow("mail with an attachment") << "mailto:a@example.com?attach=/etc/passwd" << false;
    QTest::newRow("ftp") << "ftp://example.com/x.exe" << false;
    QTest::newRow("shipped licence") << "license.txt" << false;
    QTest::newRow("file") << "file:///etc/passwd" << false;
}

void UrlLauncherTest::addressesFromTheNetworkOpenOnlyAsWebPages()
{
    QFETCH(QString, address);
    QFETCH(bool, opens);
    int calls = 0;
    CUrlLauncher launcher([&calls](const QUrl&) { return ++calls > 0; });
    launcher.SetShippedFiles({m_shipped.path()}, {QStringLiteral("license.txt")});
    const int result = launcher.OpenUrl(address, CUrlLauncher::Origin::Network);
    QCOMPARE(result == CUrlLauncher::kOpened, opens);
    QCOMPARE(calls, opens ? 1 : 0);
}

QTEST_GUILESS_MAIN(UrlLauncherTest)
#include "url_launcher_test.moc"
