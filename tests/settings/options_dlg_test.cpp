// The options dialogs on the one settings record: the numbers OK refuses, and in which order,
// leaving the record alone; what it stores and saves; a save that fails (the dialog stays
// open, the record keeps the new values); the IP and domain-name dialogs, whose saves outlast a
// cancelled options dialog; and the autostart entry kept in step, its program path quoted.
#include "app_settings.h"
#include "auto_run_entry.h"
#include "file_helpers.h"
#include "ip_address_edit.h"
#include "options_dlg.h"
#include "recording_notifier.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using testing_support::Contents;

class OptionsDlgTest final : public QObject
{
    Q_OBJECT

private:
    QString SettingsPath() const { return m_dir->filePath(QStringLiteral("Operator.conf")); }

    // Types into the edit as the operator does, through its validator.
    static void Retype(QLineEdit* edit, const QString& text)
    {
        edit->clear();
        QTest::keyClicks(edit, text);
    }

private slots:
    void init()
    {
        m_dir = std::make_unique<QTemporaryDir>();
        m_settings = std::make_unique<CAppSettings>(SettingsPath());
        m_notifier.informed.clear();
    }

    void numbers_data()
    {
        QTest::addColumn<QString>("port");
        QTest::addColumn<QString>("timeout");
        QTest::addColumn<QString>("refusal");
        QTest::addColumn<int>("storedPort");
        QTest::addColumn<int>("storedTimeout");
        const QString badPort = QStringLiteral("The server port must be a valid number.");
        const QString badTimeout = QStringLiteral("The alert timeout must be a valid number.");
        QTest::newRow("good numbers") << "8080"
                                      << "30" << QString() << 8080 << 30;
        QTest::newRow("letters cannot be typed") << "80a80"
                                                 << "3s0" << QString() << 8080 << 30;
        QTest::newRow("the largest of each") << "65535"
                                             << "2147483" << QString() << 65535 << 2147483;
        QTest::newRow("no port") << ""
                                 << "30" << badPort << 0 << 0;
        QTest::newRow("port 0") << "0"
                                << "30" << badPort << 0 << 0;
        QTest::newRow("port too large") << "65536"
                                        << "30" << badPort << 0 << 0;
        QTest::newRow("more digits than any number") << "99999999999999999999999"
                                                     << "30" << badPort << 0 << 0;
        QTest::newRow("the port is looked at first") << "0"
                                                     << "0" << badPort << 0 << 0;
        QTest::newRow("timeout 0") << "3030"
                                   << "0" << badTimeout << 0 << 0;
        QTest::newRow("timeout past the timer's range") << "3030"
                                                        << "2147484" << badTimeout << 0 << 0;
    }
    void numbers()
    {
        QFETCH(QString, port);
        QFETCH(QString, timeout);
        QFETCH(QString, refusal);
        QFETCH(int, storedPort);
        QFETCH(int, storedTimeout);
        const CAppSettings before = *m_settings;
        COptionsDlg dialog(*m_settings, m_notifier);
        dialog.show();
        Retype(dialog.findChild<QLineEdit*>(QStringLiteral("serverPort")), port);
        Retype(dialog.findChild<QLineEdit*>(QStringLiteral("notifyTimeout")), timeout);
        dialog.findChild<QLineEdit*>(QStringLiteral("serverAddress"))->setText(QStringLiteral("h"));
        dialog.accept();
        if (!refusal.isEmpty()) {
            QCOMPARE(m_notifier.informed, QStringList{refusal});
            QVERIFY(dialog.isVisible());
            QVERIFY(*m_settings == before);
            QVERIFY(!QFile::exists(SettingsPath()));
            return;
        }
        QVERIFY(m_notifier.informed.isEmpty());
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const CAppSettings stored(SettingsPath());
        QCOMPARE(stored.m_serverAddress, QStringLiteral("h"));
        QCOMPARE(stored.m_serverPort, storedPort);
        QCOMPARE(stored.m_notifyTimeout, storedTimeout);
    }

    // A disk that is full: the operator is told, the dialog stays for another try, and the new
    // values are in effect for this run while the file keeps the old ones.
    void failedSaveKeepsTheDialogOpen()
    {
        QCOMPARE(m_settings->Save(), 0);
        const QByteArray onDisk = Contents(SettingsPath());
        COptionsDlg dialog(*m_settings, m_notifier);
        dialog.show();
        dialog.findChild<QLineEdit*>(QStringLiteral("serverAddress"))
            ->setText(QStringLiteral("chat.example.org"));
        {
            testing_support::FileSizeLimit full(64);
            dialog.accept();
        }
        QCOMPARE(m_notifier.informed.size(), 1);
        QVERIFY(m_notifier.informed.first().startsWith(
            QStringLiteral("There was an error while saving")));
        QVERIFY(dialog.isVisible());
        QCOMPARE(m_settings->m_serverAddress, QStringLiteral("chat.example.org"));
        QCOMPARE(Contents(SettingsPath()), onDisk);
        dialog.accept();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(CAppSettings(SettingsPath()).m_serverAddress, QStringLiteral("chat.example.org"));
    }

    void subDialogSavesOutlastACancel_data()
    {
        QTest::addColumn<QString>("button");
        QTest::newRow("IP Blocking") << "ipBlocking";
        QTest::newRow("Domain Names") << "domainNames";
    }
    void subDialogSavesOutlastACancel()
    {
        QFETCH(QString, button);
        m_settings->m_blockIp[1] = QStringLiteral("10.0.0.2");
        m_settings->m_baseUrl[1] = QStringLiteral("old.example.org");
        COptionsDlg dialog(*m_settings, m_notifier);
        dialog.show();
        bool edited = false;
        QTimer::singleShot(0, &dialog, [&] {
            QWidget* sub = QApplication::activeModalWidget();
            if (auto* ip = sub->findChild<CIpAddressEdit*>(QStringLiteral("blockIp1"))) {
                ip->SetText(QStringLiteral("192.0.2.7"));
                sub->findChild<CIpAddressEdit*>(QStringLiteral("blockIp2"))->SetText(QString());
            } else {
                sub->findChild<QLineEdit*>(QStringLiteral("baseUrl1"))
                    ->setText(QStringLiteral("*.example.com"));
                sub->findChild<QLineEdit*>(QStringLiteral("baseUrl2"))->clear();
            }
            edited = true;
            static_cast<QDialog*>(sub)->accept();
        });
        dialog.findChild<QPushButton*>(button)->click(); // runs the dialog until accepted
        QVERIFY(edited);
        dialog.reject();
        const CAppSettings stored(SettingsPath());
        if (button == QStringLiteral("ipBlocking")) {
            QCOMPARE(stored.m_blockIp[0], QStringLiteral("192.0.2.7"));
            QCOMPARE(stored.m_blockIp[1], QString());
        } else {
            QCOMPARE(stored.m_baseUrl[0], QStringLiteral("*.example.com"));
            QCOMPARE(stored.m_baseUrl[1], QString());
        }
    }

    void autoRunEntry_data()
    {
        QTest::addColumn<bool>("on");
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("exec"); // the Exec line; empty: no entry
        QTest::newRow("plain path") << true << "/opt/parlendo/parlendo"
                                    << "/opt/parlendo/parlendo";
        QTest::newRow("a folder with a blank") << true << "/home/ann/My Apps/parlendo"
                                               << "\"/home/ann/My Apps/parlendo\"";
        QTest::newRow("percent, quotes, dollar and backslash")
            << true << "/tmp/100%/\"q\"$d\\p"
            << "\"/tmp/100%%/\\\\\"q\\\\\"\\\\$d\\\\\\\\p\"";
        QTest::newRow("off removes it") << false << "/opt/parlendo/parlendo" << QString();
    }
    void autoRunEntry()
    {
        QFETCH(bool, on);
        QFETCH(QString, program);
        QFETCH(QString, exec);
        const QString entry = m_dir->filePath(QStringLiteral("autostart/parlendo.desktop"));
        QVERIFY(testing_support::WriteFile(entry, "[Desktop Entry]\nExec=/old/parlendo\n"));
        COptionsDlg dialog(*m_settings, m_notifier);
        dialog.SetAutoRunEntry(CAutoRunEntry(entry, program));
        dialog.show();
        dialog.findChild<QCheckBox*>(QStringLiteral("autoRun"))->setChecked(on);
        dialog.accept();
        QCOMPARE(CAppSettings(SettingsPath()).m_autoRun, on ? 1 : 0);
        QCOMPARE(QFile::exists(entry), on);
        if (!on)
            return;
        QVERIFY(Contents(entry).split('\n').contains("Exec=" + exec.toUtf8()));
        const QString validate =
            QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
        if (validate.isEmpty())
            QSKIP("desktop-file-validate is not installed: the entry's syntax is not checked");
        QProcess check;
        check.start(validate, {entry});
        QVERIFY(check.waitForFinished());
        QVERIFY2(check.exitCode() == 0, check.readAllStandardOutput().constData());
    }

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    std::unique_ptr<CAppSettings> m_settings;
    CRecordingNotifier m_notifier;
};

QTEST_MAIN(OptionsDlgTest)
#include "options_dlg_test.moc"
