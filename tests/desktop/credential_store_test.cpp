#include "credential_store.h"
#include "fake_bus_service.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <qt6keychain/keychain.h>

using namespace std::chrono_literals;
using Outcome = CCredentialStore::Outcome;
using Holder = CCredentialStore::Holder;

namespace {

const QString kSecrets = QStringLiteral("org.freedesktop.secrets");

} // namespace

// In this order: no keyring on the bus, one that never answers, then a real one.
class CCredentialStoreTest final : public QObject
{
    Q_OBJECT

    QString m_file; // the settings file's copy of the password
    CCredentialStore m_store{[this](const QString& password) {
        m_file = password;
        return true;
    }};

    std::optional<CCredentialStore::Result>
    Await(const std::function<void(CCredentialStore::Done)>& operation)
    {
        std::optional<CCredentialStore::Result> result;
        operation([&result](const CCredentialStore::Result& r) { result = r; });
        (void)QTest::qWaitFor([&result] { return result.has_value(); }, 30000);
        return result;
    }

private slots:
    void withoutKeyringTheFileKeepsItAndSaysSoOnce()
    {
        QSignalSpy notice(&m_store, &CCredentialStore::FileNotice);
        auto result = Await([this](auto done) { m_store.Write("ann", "s3cret", done); });
        QVERIFY(result);
        QCOMPARE(result->outcome, Outcome::NoKeyring);
        QCOMPARE(result->holder, Holder::SettingsFile);
        QCOMPARE(m_file, QStringLiteral("s3cret"));
        result = Await([this](auto done) { m_store.Migrate("ann", m_file, done); });
        QCOMPARE(result->holder, Holder::SettingsFile);
        QCOMPARE(m_file, QStringLiteral("s3cret"));
        QCOMPARE(Await([this](auto done) { m_store.Read("ann", done); })->outcome,
                 Outcome::NoKeyring);
        QCOMPARE(notice.size(), 1);
    }

    void aKeyringThatNeverAnswersIsGivenUp()
    {
        auto hung = std::make_unique<CFakeBusService>(
            kSecrets, [](const QDBusMessage&) { return std::nullopt; });
        m_store.SetTimeLimit(1s);
        m_file.clear();
        const auto result = Await([this](auto done) { m_store.Write("ann", "s3cret", done); });
        QVERIFY(result);
        QCOMPARE(result->outcome, Outcome::TimedOut);
        QCOMPARE(result->holder, Holder::SettingsFile);
        QCOMPARE(m_file, QStringLiteral("s3cret"));
        // The abandoned job ends once the keyring answers at last, and is not heard of again.
        QVERIFY(hung->HeldCount() > 0);
        hung.reset(); // leaving the bus fails the calls it held
        QTRY_VERIFY(m_store.findChildren<QKeychain::Job*>().isEmpty());
        QCOMPARE(m_file, QStringLiteral("s3cret"));
    }

    void realKeyringTakesMovesAndForgets()
    {
        QTemporaryDir home;
        QProcess keyring;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            env.insert(name, home.path());
        keyring.setProcessEnvironment(env);
        keyring.start("gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"});
        QVERIFY2(keyring.waitForStarted(), "gnome-keyring-daemon is not installed");
        keyring.write("unlock-me"); // --unlock reads the keyring's password from stdin
        keyring.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(
            QDBusConnection::sessionBus().interface()->isServiceRegistered(kSecrets), 20000);
        m_store.SetTimeLimit(20s);

        m_file = QStringLiteral("from-file");
        auto result = Await([this](auto done) { m_store.Migrate("ann", m_file, done); });
        QVERIFY(result);
        QCOMPARE(result->outcome, Outcome::Ok);
        QCOMPARE(result->holder, Holder::Keyring);
        QCOMPARE(m_file, QString());
        result = Await([this](auto done) { m_store.Read("ann", done); });
        QCOMPARE(result->password, QStringLiteral("from-file"));

        QCOMPARE(Await([this](auto done) { m_store.Write("ann", "n3w", done); })->holder,
                 Holder::Keyring);
        QCOMPARE(Await([this](auto done) { m_store.Read("ann", done); })->password,
                 QStringLiteral("n3w"));
        QCOMPARE(Await([this](auto done) { m_store.Read("bob", done); })->outcome,
                 Outcome::NotFound);
        QCOMPARE(Await([this](auto done) { m_store.Forget("ann", done); })->outcome, Outcome::Ok);
        QCOMPARE(Await([this](auto done) { m_store.Read("ann", done); })->outcome,
                 Outcome::NotFound);
        keyring.terminate();
        QVERIFY(keyring.waitForFinished());
    }
};

QTEST_GUILESS_MAIN(CCredentialStoreTest)
#include "credential_store_test.moc"
