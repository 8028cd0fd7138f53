// "Domain Name Settings": the five patterns go to BaseUrl1 .. BaseUrl5 as typed and are saved
// at once; Escape leaves record and file alone; a pattern cannot outgrow what the record keeps.
#include "app_settings.h"
#include "base_url_dlg.h"
#include "scratch_config.h"
#include "test_helpers.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLineEdit>
#include <QTest>
#include <memory>

class BaseUrlDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okStoresPatternsAsTypedAndSaves();
    void escapeChangesNothing();
    void patternKeepsWithinCapacity();

private:
    static QLineEdit* Field(const CBaseUrlDlg& dialog, int number);

    std::unique_ptr<CScratchConfig> m_config;
    std::unique_ptr<CAppSettings> m_settings;
};

void BaseUrlDlgTest::init()
{
    m_config = std::make_unique<CScratchConfig>();
    QVERIFY(m_config->IsValid());
    m_settings = std::make_unique<CAppSettings>();
}

void BaseUrlDlgTest::cleanup()
{
    m_settings.reset();
    m_config.reset();
}

QLineEdit* BaseUrlDlgTest::Field(const CBaseUrlDlg& dialog, int number)
{
    auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("baseUrl%1").arg(number));
    if (!field)
        qFatal("no field %d", number);
    return field;
}

void BaseUrlDlgTest::okStoresPatternsAsTypedAndSaves()
{
    m_settings->m_baseUrl = {QStringLiteral("old1"), QStringLiteral("old2"), QStringLiteral("old3"),
                             QStringLiteral("old4"), QStringLiteral("old5")};
    CBaseUrlDlg dialog(*m_settings);
    dialog.show();
    Field(dialog, 1)->clear();
    QTest::keyClicks(Field(dialog, 1), QStringLiteral("http://*.example.com"));
    Field(dialog, 2)->clear();
    Field(dialog, 4)->setText(QStringLiteral(" spaced *pattern? "));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    const std::array<QString, 5> expected = {
        QStringLiteral("http://*.example.com"), QString(), QStringLiteral("old3"),
        QStringLiteral(" spaced *pattern? "), QStringLiteral("old5")};
    QCOMPARE(m_settings->m_baseUrl, expected);
    QCOMPARE(CAppSettings(m_settings->FilePath()).m_baseUrl, expected);
}

void BaseUrlDlgTest::escapeChangesNothing()
{
    const CAppSettings before = *m_settings;
    CBaseUrlDlg dialog(*m_settings);
    dialog.show();
    Field(dialog, 3)->setText(QStringLiteral("*.example.net"));
    QTest::keyClick(Field(dialog, 3), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(*m_settings == before);
    QVERIFY(!QFile::exists(m_settings->FilePath()));
}

// Counted in bytes: a letter of two bytes does not fit into the last one.
void BaseUrlDlgTest::patternKeepsWithinCapacity()
{
    const int room = CAppSettings::MaxTextBytes(CAppSettings::kBaseUrlCapacity);
    CBaseUrlDlg dialog(*m_settings);
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    QLineEdit* field = Field(dialog, 5);
    QApplication::clipboard()->setText(QString(room - 1, u'a'));
    field->paste();
    field->setFocus();
    TypeText(QStringLiteral("\u00e9b\u00e9c"));
    dialog.accept();
    QCOMPARE(m_settings->m_baseUrl[4], QString(room - 1, u'a') + u'b');
    // What is shown is what comes back after a restart.
    QCOMPARE(CAppSettings(m_settings->FilePath()).m_baseUrl[4], m_settings->m_baseUrl[4]);
}

QTEST_MAIN(BaseUrlDlgTest)
#include "base_url_dlg_test.moc"
