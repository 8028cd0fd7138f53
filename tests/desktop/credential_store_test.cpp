#include "credential_store.h"
#include "fake_bus_service.h"

#include <QDBusConnectionInterface>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using namespace std::chrono_literals;
using S = CCredentialStore;
using Outcome = CCredentialStore::Outcome;
using Holder = CCredentialStore::Holder;
using Answer = std::tuple<Outcome, Holder, QString>; // a result without the keyring's words

// In this order: no keyring on the bus, one that never answers, then a real one.
class CCredentialStoreTest final : public QObject
{
    Q_OBJECT

    QString m_file; // the settings file's copy of the password
    CCredentialStore m_store{[this](const QString& password) {
        m_file = password;
        return true;
    }};
    QList<Answer> m_answers; // every answer, in order

    template <typename Operation, typename... Args>
    Answer Do(Operation operation, const Args&... args)
    {
        const qsizetype before = m_answers.size();
        (m_store.*operation)(args..., [this](const CCredentialStore::Result& r) {
            m_answers.append({r.outcome, r.holder, r.password});
        });
        (void)QTest::qWaitFor([&] { return m_answers.size() > before; }, 30000);
        return m_answers.value(before, {Outcome::Failed, Holder::Nowhere, "no answer"});
    }

private slots:
    void withoutKeyringTheFileKeepsItAndSaysSoOnce()
    {
        QSignalSpy notice(&m_store, &CCredentialStore::FileNotice);
        QCOMPARE(Do(&S::Write, "ann", "s3cret"),
                 Answer(Outcome::NoKeyring, Holder::SettingsFile, {}));
        QCOMPARE(m_file, QStringLiteral("s3cret"));
        QCOMPARE(Do(&S::Read, "ann"), Answer(Outcome::NoKeyring, Holder::Nowhere, {}));
        QCOMPARE(notice.size(), 1);
    }

    void aKeyringThatNeverAnswersIsGivenUp()
    {
        auto hung =
            std::make_unique<CFakeBusService>(QStringLiteral("org.freedesktop.secrets"),
                                              [](const QDBusMessage&) { return std::nullopt; });
        m_store.SetTimeLimit(1s);
        QCOMPARE(Do(&S::Write, "ann", "t1med"),
                 Answer(Outcome::TimedOut, Holder::SettingsFile, {}));
        QCOMPARE(m_file, QStringLiteral("t1med"));
        // The abandoned job ends once the keyring answers at last, and is not heard of again.
        QVERIFY(!hung->m_held.isEmpty());
        const qsizetype answers = m_answers.size();
        hung.reset(); // leaving the bus fails the calls it held
        QTRY_VERIFY(m_store.children().isEmpty());
        QCOMPARE(m_answers.size(), answers);
    }

    void realKeyringTakesMovesAndForgets()
    {
        QTemporaryDir home;
        QProcess keyring;
        for (const char* name : {"HOME", "XDG_DATA_HOME", "XDG_RUNTIME_DIR"})
            qputenv(name, QFile::encodeName(home.path())); // the keyring's files and sockets
        keyring.start("gnome-keyring-daemon", {"--foreground", "--unlock", "--components=secrets"});
        keyring.write("unlock-me"); // --unlock reads the keyring's password from stdin
        keyring.closeWriteChannel();
        QTRY_VERIFY_WITH_TIMEOUT(QDBusConnection::sessionBus().interface()->isServiceRegistered(
                                     QStringLiteral("org.freedesktop.secrets")),
                                 20000);
        m_store.SetTimeLimit(20s);
        m_file = QStringLiteral("from-file");
        QCOMPARE(Do(&S::Migrate, "ann", m_file), Answer(Outcome::Ok, Holder::Keyring, {}));
        QCOMPARE(m_file, QString());
        QCOMPARE(Do(&S::Read, "ann"), Answer(Outcome::Ok, Holder::Keyring, "from-file"));
        QCOMPARE(Do(&S::Write, "ann", "n3w"), Answer(Outcome::Ok, Holder::Keyring, {}));
        QCOMPARE(Do(&S::Read, "ann"), Answer(Outcome::Ok, Holder::Keyring, "n3w"));
        QCOMPARE(Do(&S::Forget, "ann"), Answer(Outcome::Ok, Holder::Nowhere, {}));
        QCOMPARE(Do(&S::Read, "ann"), Answer(Outcome::NotFound, Holder::Nowhere, {}));
        keyring.terminate();
        QVERIFY(keyring.waitForFinished());
    }
};

QTEST_GUILESS_MAIN(CCredentialStoreTest)
#include "credential_store_test.moc"
