// The options dialog against the one settings record: what OK refuses and in which order, what
// it stores and saves, a save that fails, the autostart entry kept in step, and the two
// sub-dialogs whose saves outlast a cancelled options dialog.
#include "file_helpers.h"
#include "app_settings.h"
#include "auto_run_entry.h"
#include "base_url_dlg.h"
#include "ip_address_edit.h"
#include "ip_block_dlg.h"
#include "options_dlg.h"
#include "scratch_config.h"
#include "test_helpers.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

namespace {

using testing_support::Contents;
using testing_support::WriteFile;

const QString kPortMessage = QStringLiteral("The server port must be a valid number.");
const QString kTimeoutMessage = QStringLiteral("The alert timeout must be a valid number.");
const QString kSaveMessage =
    QStringLiteral("There was an error while saving the Parlendo settings in the settings "
                   "file.\nPlease check that you have the required permissions to modify "
                   "the settings file.");

template <typename Widget> Widget* Child(const QWidget* parent, const char* name)
{
    auto* child = parent->findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no %s in %s", name, parent->metaObject()->className());
    return child;
}

// Acts on the dialog that the next exec() runs, once it is up, and leaves it to the action to
// close it. Anything else that is modal by then is rejected, so a test cannot hang on it.
template <typename Dialog> void OnNextModal(std::function<void(Dialog&)> act, bool* ran)
{
    QTimer::singleShot(0, [act = std::move(act), ran] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* dialog = qobject_cast<Dialog*>(modal)) {
            *ran = true;
            act(*dialog);
        }
        if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            other && other->isVisible() && !qobject_cast<Dialog*>(other))
            other->reject();
    });
}

} // namespace

class OptionsDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okWithoutChangesKeepsEveryValue_data();
    void okWithoutChangesKeepsEveryValue();
    void okStoresEditsAndSaves();
    void acceptedNumbers_data();
    void acceptedNumbers();
    void refusedNumbers_data();
    void refusedNumbers();
    void enterIsOkEscapeIsCancel();
    void tabVisitsFieldsTopToBottom();
    void enterInWelcomeMessageStartsNewLine();
    void emptyWelcomeMessageStaysEmpty();
    void saveFailureKeepsDialogOpenAndRecordChanged();
    void autostartEntry_data();
    void autostartEntry();
    void autostartEntryIsValid();
    void autostartEntryThatCannotBeChangedDoesNotStopOk();
    void subDialogSavesSurviveCancel();
    void cancelledSubDialogChangesNothing();

private:
    QString EntryPath() const { return m_config->EntryPath(); }
    // A dialog on the test's record whose messages are collected in m_messages.
    std::unique_ptr<COptionsDlg> OpenDialog();

    std::unique_ptr<CScratchConfig> m_config;
    std::unique_ptr<CAppSettings> m_settings;
    QStringList m_messages;
};

void OptionsDlgTest::init()
{
    m_config = std::make_unique<CScratchConfig>();
    QVERIFY(m_config->IsValid());
    m_settings = std::make_unique<CAppSettings>();
    QVERIFY(m_settings->FilePath().startsWith(m_config->Path()));
    m_messages.clear();
}

void OptionsDlgTest::cleanup()
{
    m_settings.reset();
    m_config.reset();
}

std::unique_ptr<COptionsDlg> OptionsDlgTest::OpenDialog()
{
    auto dialog = std::make_unique<COptionsDlg>(*m_settings);
    dialog->SetNotifier(
        CMessageNotifier([this](QWidget*, const QString& text) { m_messages << text; }));
    dialog->show();
    return dialog;
}

void OptionsDlgTest::okWithoutChangesKeepsEveryValue_data()
{
    QTest::addColumn<int>("flags");
    QTest::newRow("every box ticked") << 1;
    QTest::newRow("every box clear") << 0;
}

void OptionsDlgTest::okWithoutChangesKeepsEveryValue()
{
    QFETCH(int, flags);
    CAppSettings& s = *m_settings;
    s.m_serverAddress = QStringLiteral("chat.example.org");
    s.m_serverPort = 4040;
    s.m_autoRun = s.m_autoLogin = s.m_reconnect = s.m_showHints = s.m_notifySound = flags;
    s.m_notifyTimeout = 25;
    s.m_welcomeMsg = QStringLiteral("Hello!\nWhat can I do for you?");
    s.m_blockIp[2] = QStringLiteral("10.0.0.3");
    s.m_baseUrl[4] = QStringLiteral("*.example.org");
    const CAppSettings before = s;

    auto dialog = OpenDialog();
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QVERIFY(m_messages.isEmpty());
    QVERIFY(s == before);
    QVERIFY(CAppSettings(s.FilePath()) == before);
}

void OptionsDlgTest::okStoresEditsAndSaves()
{
    auto dialog = OpenDialog();
    Child<QLineEdit>(dialog.get(), "serverAddress")->setText(QStringLiteral(" my.server "));
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(QStringLiteral("4000"));
    Child<QCheckBox>(dialog.get(), "autoLogin")->setChecked(true);
    Child<QCheckBox>(dialog.get(), "reconnect")->setChecked(false);
    Child<QCheckBox>(dialog.get(), "showHints")->setChecked(false);
    Child<QCheckBox>(dialog.get(), "notifySound")->setChecked(false);
    Child<QLineEdit>(dialog.get(), "notifyTimeout")->setText(QStringLiteral("15"));
    Child<QPlainTextEdit>(dialog.get(), "welcomeMsg")->setPlainText(QStringLiteral("Hi"));
    CAppSettings expected = *m_settings;
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));

    expected.m_serverAddress = QStringLiteral(" my.server "); // as typed
    expected.m_serverPort = 4000;
    expected.m_autoLogin = 1;
    expected.m_reconnect = 0;
    expected.m_showHints = 0;
    expected.m_notifySound = 0;
    expected.m_notifyTimeout = 15;
    expected.m_welcomeMsg = QStringLiteral("Hi");
    QVERIFY(*m_settings == expected);
    QVERIFY(CAppSettings(m_settings->FilePath()) == expected);
}

void OptionsDlgTest::acceptedNumbers_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("storedPort");
    QTest::addColumn<QString>("storedTimeout");
    TextRow("letter after port", "8080x", "60", "8080", "60");
    TextRow("blank before port", " 42", "60", "42", "60");
    TextRow("highest port", "65535", "60", "65535", "60");
    TextRow("blank and letter around timeout", "3030", " 30s", "3030", "30");
    TextRow("longest timeout", "3030", "2147483", "3030", "2147483");
}

void OptionsDlgTest::acceptedNumbers()
{
    QFETCH(QString, port);
    QFETCH(QString, timeout);
    QFETCH(QString, storedPort);
    QFETCH(QString, storedTimeout);
    auto dialog = OpenDialog();
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(port);
    Child<QLineEdit>(dialog.get(), "notifyTimeout")->setText(timeout);
    dialog->accept();
    QVERIFY(m_messages.isEmpty());
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(QString::number(m_settings->m_serverPort), storedPort);
    QCOMPARE(QString::number(m_settings->m_notifyTimeout), storedTimeout);
    const CAppSettings reloaded(m_settings->FilePath());
    QCOMPARE(QString::number(reloaded.m_serverPort), storedPort);
    QCOMPARE(QString::number(reloaded.m_notifyTimeout), storedTimeout);
}

void OptionsDlgTest::refusedNumbers_data()
{
    QTest::addColumn<QString>("port");
    QTest::addColumn<QString>("timeout");
    QTest::addColumn<QString>("message");
    TextRow("negative port", "-5", "60", "port");
    TextRow("zero port", "0", "60", "port");
    TextRow("empty port", "", "60", "port");
    TextRow("letters for port", "http", "60", "port");
    TextRow("port above 65535", "70000", "60", "port");
    TextRow("empty timeout", "3030", "", "timeout");
    TextRow("zero timeout", "3030", "0", "timeout");
    TextRow("negative timeout", "3030", "-1", "timeout");
    TextRow("letters for timeout", "3030", "soon", "timeout");
    TextRow("timeout whose milliseconds overflow", "3030", "2147484", "timeout");
    TextRow("both bad: only the port is named", "abc", "", "port");
}

void OptionsDlgTest::refusedNumbers()
{
    QFETCH(QString, port);
    QFETCH(QString, timeout);
    QFETCH(QString, message);
    const CAppSettings before = *m_settings;
    auto dialog = OpenDialog();
    // Other fields are edited too: a refusal must store none of them.
    Child<QLineEdit>(dialog.get(), "serverAddress")->setText(QStringLiteral("other.host"));
    Child<QCheckBox>(dialog.get(), "reconnect")->setChecked(false);
    Child<QPlainTextEdit>(dialog.get(), "welcomeMsg")->setPlainText(QStringLiteral("Yes?"));
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(port);
    Child<QLineEdit>(dialog.get(), "notifyTimeout")->setText(timeout);
    dialog->accept();
    QCOMPARE(m_messages, QStringList{message == "port" ? kPortMessage : kTimeoutMessage});
    QVERIFY(dialog->isVisible());
    QVERIFY(*m_settings == before);
    QVERIFY(!QFile::exists(m_settings->FilePath())); // nothing saved either

    // The operator mends the numbers, and the same dialog is accepted.
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(QStringLiteral("3031"));
    Child<QLineEdit>(dialog.get(), "notifyTimeout")->setText(QStringLiteral("20"));
    dialog->accept();
    QCOMPARE(m_messages.size(), 1);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_settings->m_serverAddress, QStringLiteral("other.host"));
    QCOMPARE(m_settings->m_serverPort, 3031);
}

void OptionsDlgTest::enterIsOkEscapeIsCancel()
{
    auto dialog = OpenDialog();
    QLineEdit* port = Child<QLineEdit>(dialog.get(), "serverPort");
    port->setText(QStringLiteral("5050"));
    QTest::keyClick(Child<QLineEdit>(dialog.get(), "serverAddress"), Qt::Key_Escape);
    QCOMPARE(dialog->result(), int(QDialog::Rejected));
    QVERIFY(!dialog->isVisible());
    QCOMPARE(m_settings->m_serverPort, CAppSettings::kDefaultServerPort);

    dialog = OpenDialog();
    port = Child<QLineEdit>(dialog.get(), "serverPort");
    port->setText(QStringLiteral("5050"));
    QTest::keyClick(port, Qt::Key_Return);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_settings->m_serverPort, 5050);

    // Enter on a refused number stays in the dialog with the message.
    dialog = OpenDialog();
    Child<QLineEdit>(dialog.get(), "notifyTimeout")->setText(QStringLiteral("0"));
    QTest::keyClick(Child<QCheckBox>(dialog.get(), "autoRun"), Qt::Key_Return);
    QCOMPARE(m_messages, QStringList{kTimeoutMessage});
    QVERIFY(dialog->isVisible());
}

void OptionsDlgTest::tabVisitsFieldsTopToBottom()
{
    auto dialog = OpenDialog();
    QApplication::setActiveWindow(dialog.get());
    QVERIFY(QTest::qWaitForWindowActive(dialog.get()));
    QStringList visited{QApplication::focusWidget()->objectName()};
    for (int i = 0; i < 11; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited << QApplication::focusWidget()->objectName();
    }
    const QStringList expected = {"serverAddress", "serverPort", "autoRun",     "autoLogin",
                                  "reconnect",     "showHints",  "notifySound", "notifyTimeout",
                                  "welcomeMsg",    "ipBlocking", "domainNames"};
    QCOMPARE(visited.mid(0, expected.size()), expected);
    // Then OK, whose name the button box gives it.
    auto* ok = qobject_cast<QPushButton*>(QApplication::focusWidget());
    QVERIFY(ok && ok->isDefault());
}

void OptionsDlgTest::enterInWelcomeMessageStartsNewLine()
{
    auto dialog = OpenDialog();
    auto* welcome = Child<QPlainTextEdit>(dialog.get(), "welcomeMsg");
    welcome->clear();
    QTest::keyClicks(welcome, QStringLiteral("Hello"));
    QTest::keyClick(welcome, Qt::Key_Return);
    QTest::keyClicks(welcome, QStringLiteral("How can I help?"));
    QVERIFY(dialog->isVisible());
    dialog->accept();
    QCOMPARE(m_settings->m_welcomeMsg, QStringLiteral("Hello\nHow can I help?"));
}

void OptionsDlgTest::emptyWelcomeMessageStaysEmpty()
{
    auto dialog = OpenDialog();
    Child<QPlainTextEdit>(dialog.get(), "welcomeMsg")->clear();
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_settings->m_welcomeMsg, QString());
    QCOMPARE(CAppSettings(m_settings->FilePath()).m_welcomeMsg, QString());

    // And the dialog opened again shows it empty rather than the default text.
    dialog = OpenDialog();
    QCOMPARE(Child<QPlainTextEdit>(dialog.get(), "welcomeMsg")->toPlainText(), QString());
}

void OptionsDlgTest::saveFailureKeepsDialogOpenAndRecordChanged()
{
    // The record's folder is a regular file: no one, root included, can save there.
    m_settings = std::make_unique<CAppSettings>(m_config->Blocker() + "/Operator.conf");

    auto dialog = OpenDialog();
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(QStringLiteral("4000"));
    Child<QCheckBox>(dialog.get(), "autoRun")->setChecked(true);
    Child<QPlainTextEdit>(dialog.get(), "welcomeMsg")->clear();
    dialog->accept();
    QCOMPARE(m_messages, QStringList{kSaveMessage});
    QVERIFY(dialog->isVisible());
    QCOMPARE(m_settings->m_serverPort, 4000);
    QCOMPARE(m_settings->m_autoRun, 1);
    QCOMPARE(m_settings->m_welcomeMsg, QString());
    QVERIFY(!QFile::exists(EntryPath())); // the autostart entry follows only a saved record

    // Cancelled after the failure: what was stored stays in effect for this run.
    dialog->reject();
    QCOMPARE(m_settings->m_serverPort, 4000);
    QCOMPARE(m_settings->m_welcomeMsg, QString());
}

void OptionsDlgTest::autostartEntry_data()
{
    QTest::addColumn<QByteArray>("existing"); // empty: none
    QTest::addColumn<bool>("ticked");
    const QByteArray old = "[Desktop Entry]\nType=Application\nName=Parlendo\n"
                           "Exec=/old/place/parlendo\n";
    QTest::newRow("ticked, none yet") << QByteArray() << true;
    QTest::newRow("ticked, an older one replaced") << old << true;
    QTest::newRow("clear, one removed") << old << false;
    QTest::newRow("clear, none") << QByteArray() << false;
}

void OptionsDlgTest::autostartEntry()
{
    QFETCH(QByteArray, existing);
    QFETCH(bool, ticked);
    if (!existing.isEmpty())
        QVERIFY(WriteFile(EntryPath(), existing));
    m_settings->m_autoRun = ticked ? 0 : 1; // the operator changes it

    auto dialog = OpenDialog();
    auto* autoRun = Child<QCheckBox>(dialog.get(), "autoRun");
    QCOMPARE(autoRun->isChecked(), !ticked);
    autoRun->setChecked(ticked);
    dialog->accept();
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(m_settings->m_autoRun, ticked ? 1 : 0);
    QCOMPARE(QFile::exists(EntryPath()), ticked);
    if (ticked) // the running executable, wherever it is now
        QCOMPARE(Contents(EntryPath()),
                 CAutoRunEntry::EntryText(QCoreApplication::applicationFilePath()));
}

void OptionsDlgTest::autostartEntryIsValid()
{
    const QString validator =
        QStandardPaths::findExecutable(QStringLiteral("desktop-file-validate"));
    if (validator.isEmpty())
        QSKIP("desktop-file-validate is not installed (scripts/setup.sh installs it)");
    auto dialog = OpenDialog();
    Child<QCheckBox>(dialog.get(), "autoRun")->setChecked(true);
    dialog->accept();
    QProcess run;
    run.start(validator, {EntryPath()});
    QVERIFY(run.waitForFinished(30000));
    const QByteArray said = run.readAllStandardOutput() + run.readAllStandardError();
    QVERIFY2(run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0, said.constData());
    QVERIFY2(said.trimmed().isEmpty(), said.constData());
}

void OptionsDlgTest::autostartEntryThatCannotBeChangedDoesNotStopOk()
{
    // A folder where the entry belongs can be neither replaced nor removed, by root either.
    QVERIFY(QDir().mkpath(EntryPath() + QStringLiteral("/inside")));
    for (const bool ticked : {true, false}) {
        auto dialog = OpenDialog();
        Child<QCheckBox>(dialog.get(), "autoRun")->setChecked(ticked);
        dialog->accept();
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QVERIFY(m_messages.isEmpty());
        QCOMPARE(CAppSettings(m_settings->FilePath()).m_autoRun, ticked ? 1 : 0);
        QVERIFY(QFileInfo(EntryPath()).isDir());
    }
}

void OptionsDlgTest::subDialogSavesSurviveCancel()
{
    const CAppSettings before = *m_settings;
    auto dialog = OpenDialog();
    // An edit in the options dialog itself that is never confirmed.
    Child<QLineEdit>(dialog.get(), "serverPort")->setText(QStringLiteral("4000"));

    bool ranIp = false;
    OnNextModal<CIpBlockDlg>(
        [](CIpBlockDlg& ip) {
            Child<CIpAddressEdit>(&ip, "blockIp1")->SetText(QStringLiteral("10.0.0.1"));
            Child<CIpAddressEdit>(&ip, "blockIp5")->SetText(QStringLiteral("192.168.7.9"));
            ip.accept();
        },
        &ranIp);
    Child<QPushButton>(dialog.get(), "ipBlocking")->click();
    QVERIFY(ranIp);

    bool ranUrl = false;
    OnNextModal<CBaseUrlDlg>(
        [](CBaseUrlDlg& urls) {
            Child<QLineEdit>(&urls, "baseUrl2")->setText(QStringLiteral("*.example.com"));
            urls.accept();
        },
        &ranUrl);
    Child<QPushButton>(dialog.get(), "domainNames")->click();
    QVERIFY(ranUrl);

    // In effect at once, before the options dialog closes.
    QCOMPARE(m_settings->m_blockIp[0], QStringLiteral("10.0.0.1"));
    QCOMPARE(m_settings->m_baseUrl[1], QStringLiteral("*.example.com"));
    dialog->reject();

    CAppSettings expected = before;
    expected.m_blockIp[0] = QStringLiteral("10.0.0.1");
    expected.m_blockIp[4] = QStringLiteral("192.168.7.9");
    expected.m_baseUrl[1] = QStringLiteral("*.example.com");
    QVERIFY(*m_settings == expected);
    QVERIFY(CAppSettings(m_settings->FilePath()) == expected);
}

void OptionsDlgTest::cancelledSubDialogChangesNothing()
{
    m_settings->m_blockIp[1] = QStringLiteral("10.1.1.1");
    const CAppSettings before = *m_settings;
    auto dialog = OpenDialog();

    bool ran = false;
    OnNextModal<CIpBlockDlg>(
        [](CIpBlockDlg& ip) {
            Child<CIpAddressEdit>(&ip, "blockIp2")->SetText({});
            ip.reject();
        },
        &ran);
    Child<QPushButton>(dialog.get(), "ipBlocking")->click();
    QVERIFY(ran);
    QVERIFY(*m_settings == before);
    QVERIFY(!QFile::exists(m_settings->FilePath()));
}

QTEST_MAIN(OptionsDlgTest)
#include "options_dlg_test.moc"
