// "IP Blocking Settings": the five fields go to BlockIp1 .. BlockIp5 in order and are saved at
// once, even where the save fails; a blank field stores an empty text.
#include "app_settings.h"
#include "ip_address_edit.h"
#include "ip_block_dlg.h"
#include "scratch_config.h"
#include "test_helpers.h"

#include <memory>

class IpBlockDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void okStoresFieldsInOrderAndSaves();
    void untouchedStoredText_data();
    void untouchedStoredText();
    void failedSaveStillClosesWithListInEffect();

private:
    static CIpAddressEdit* Field(const CIpBlockDlg& dialog, int number);

    std::unique_ptr<CScratchConfig> m_config;
    std::unique_ptr<CAppSettings> m_settings;
};

void IpBlockDlgTest::init()
{
    m_config = std::make_unique<CScratchConfig>();
    QVERIFY(m_config->IsValid());
    m_settings = std::make_unique<CAppSettings>();
}

void IpBlockDlgTest::cleanup()
{
    m_settings.reset();
    m_config.reset();
}

CIpAddressEdit* IpBlockDlgTest::Field(const CIpBlockDlg& dialog, int number)
{
    auto* field = dialog.findChild<CIpAddressEdit*>(QStringLiteral("blockIp%1").arg(number));
    if (!field)
        qFatal("no field %d", number);
    return field;
}

void IpBlockDlgTest::okStoresFieldsInOrderAndSaves()
{
    m_settings->m_blockIp[3] = QStringLiteral("172.16.0.4"); // cleared below
    CIpBlockDlg dialog(*m_settings);
    dialog.show();
    for (int i = 1; i <= 3; ++i)
        Field(dialog, i)->SetText(QStringLiteral("10.0.0.%1").arg(i));
    Field(dialog, 4)->SetText({});
    Field(dialog, 5)->SetText(QStringLiteral("192.168.1.5"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));

    const std::array<QString, 5> expected = {QStringLiteral("10.0.0.1"), QStringLiteral("10.0.0.2"),
                                             QStringLiteral("10.0.0.3"), QString(),
                                             QStringLiteral("192.168.1.5")};
    QCOMPARE(m_settings->m_blockIp, expected);
    QCOMPARE(CAppSettings(m_settings->FilePath()).m_blockIp, expected);
}

void IpBlockDlgTest::untouchedStoredText_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("saved");
    TextRow("address", "10.20.30.40", "10.20.30.40");
    TextRow("empty stays empty, not 0.0.0.0", "", "");
    TextRow("leading zeros", "010.020.030.040", "10.20.30.40");
    TextRow("not an address", "visitor.example", "");
}

void IpBlockDlgTest::untouchedStoredText()
{
    QFETCH(QString, stored);
    QFETCH(QString, saved);
    m_settings->m_blockIp.fill(stored);
    CIpBlockDlg dialog(*m_settings);
    dialog.accept();
    for (const QString& text : CAppSettings(m_settings->FilePath()).m_blockIp)
        QCOMPARE(text, saved);
}

void IpBlockDlgTest::failedSaveStillClosesWithListInEffect()
{
    m_settings = std::make_unique<CAppSettings>(m_config->Blocker() + "/Operator.conf");
    CIpBlockDlg dialog(*m_settings);
    dialog.show();
    Field(dialog, 2)->SetText(QStringLiteral("8.8.4.4"));
    dialog.accept();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(m_settings->m_blockIp[1], QStringLiteral("8.8.4.4"));
}

QTEST_MAIN(IpBlockDlgTest)
#include "ip_block_dlg_test.moc"
