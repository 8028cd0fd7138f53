// The login dialog and the about box.

#include "about_dlg.h"
#include "app_settings.h"
#include "console_rig.h"
#include "link_static.h"
#include "login_dlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct LoginParts
{
    QLineEdit* username;
    QLineEdit* password;
    QCheckBox* remember;
    QPushButton* ok;
};

LoginParts Parts(CLoginDlg& dialog)
{
    return {dialog.findChild<QLineEdit*>(QStringLiteral("username")),
            dialog.findChild<QLineEdit*>(QStringLiteral("password")),
            dialog.findChild<QCheckBox*>(QStringLiteral("remember")),
            dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)};
}

} // namespace

class ConsoleDialogsTest : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir m_folder;
    CRecordingNotifier m_notifier;

    QString SettingsPath() const { return m_folder.filePath(QStringLiteral("Operator.conf")); }

private slots:
    void init() { QFile::remove(SettingsPath()); }

    void opensWithTheStoredLogin_data()
    {
        QTest::addColumn<int>("saveLogin");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("okOpen");
        QTest::newRow("remembered") << 1 << QStringLiteral("pw") << true;
        QTest::newRow("not remembered: password left out") << 0 << QString() << false;
    }
    void opensWithTheStoredLogin()
    {
        QFETCH(int, saveLogin);
        QFETCH(QString, password);
        QFETCH(bool, okOpen);
        CAppSettings settings(SettingsPath());
        settings.m_username = QStringLiteral("ann");
        settings.m_password = QStringLiteral("pw");
        settings.m_saveLogin = saveLogin;
        CLoginDlg dialog(settings, m_notifier);
        const LoginParts parts = Parts(dialog);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Parlendo Login"));
        QCOMPARE(parts.username->text(), QStringLiteral("ann"));
        QCOMPARE(parts.password->text(), password);
        QCOMPARE(parts.remember->isChecked(), saveLogin == 1);
        QCOMPARE(parts.ok->isEnabled(), okOpen);
        QCOMPARE(parts.password->echoMode(), QLineEdit::Password);

        QTest::keyClicks(parts.password, QStringLiteral("x"));
        QVERIFY(parts.ok->isEnabled());
        parts.username->clear();
        QVERIFY(!parts.ok->isEnabled());
    }

    // The password is stored even with the box cleared; the box only decides whether it is
    // used next time.
    void clearedBoxStillStoresThePassword()
    {
        CAppSettings settings(SettingsPath());
        settings.m_saveLogin = 1;
        CLoginDlg dialog(settings, m_notifier);
        const LoginParts parts = Parts(dialog);
        parts.username->setText(QStringLiteral("ann lee"));
        parts.password->setText(QStringLiteral("s3cret & more"));
        parts.remember->setChecked(false);
        parts.ok->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));

        const CAppSettings reloaded(SettingsPath());
        QCOMPARE(reloaded.m_username, QStringLiteral("ann lee"));
        QCOMPARE(reloaded.m_password, QStringLiteral("s3cret & more"));
        QCOMPARE(reloaded.m_saveLogin, 0);
        QVERIFY(m_notifier.informed.isEmpty());
    }

    void cancelChangesNothing()
    {
        CAppSettings settings(SettingsPath());
        settings.m_username = QStringLiteral("ann");
        CLoginDlg dialog(settings, m_notifier);
        Parts(dialog).password->setText(QStringLiteral("typed"));
        dialog.reject();
        QCOMPARE(settings.m_password, QString());
        QVERIFY(!QFile::exists(SettingsPath()));
    }

    void signUpLinkGoesToTheServer()
    {
        CAppSettings settings(SettingsPath());
        settings.m_serverAddress = QStringLiteral("chat.example.org");
        CLoginDlg dialog(settings, m_notifier);
        QCOMPARE(dialog.findChild<CLinkStatic*>(QStringLiteral("signUp"))->Url(),
                 QStringLiteral("http://chat.example.org/signupForm.aspx"));
    }

    // The licence link opens the license.txt the build puts beside the console.
    void licenceOpensTheShippedFile()
    {
        QList<QUrl> opened;
        CUrlLauncher launcher([&](const QUrl& url) {
            opened.append(url);
            return true;
        });
        launcher.SetShippedFiles({QStringLiteral(PARLENDO_CONSOLE_DIR)},
                                 {QStringLiteral("license.txt")});
        CAboutDlg about(&launcher);
        QCOMPARE(about.windowTitle(), QStringLiteral("About Parlendo"));
        about.show();
        auto* licence = about.findChild<CLinkStatic*>(QStringLiteral("licence"));
        QTest::mouseClick(licence, Qt::LeftButton);
        QCOMPARE(opened.size(), 1);
        QVERIFY(opened.first().isLocalFile());
        QFile file(opened.first().toLocalFile());
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("Copyright 2026 Parlendo"));
        QVERIFY(licence->IsVisited());
    }
};

QTEST_MAIN(ConsoleDialogsTest)
#include "console_dialogs_test.moc"
