// The "Enter URL" dialog: only an empty address is refused, with its message, and the dialog
// stays open for another try.
#include "url_dlg.h"

#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

namespace {

const QString kEmptyMessage =
    "You must type in the URL of the image or page you want to send to the visitor.";

void Type(CUrlDlg& dlg, const QString& text)
{
    QLineEdit* edit = dlg.findChild<QLineEdit*>();
    edit->clear();
    QTest::keyClicks(edit, text);
}

QPushButton* Button(CUrlDlg& dlg, QDialogButtonBox::StandardButton which)
{
    return dlg.findChild<QDialogButtonBox*>()->button(which);
}

QMessageBox* OpenMessageBox(CUrlDlg& dlg)
{
    for (QMessageBox* box : dlg.findChildren<QMessageBox*>()) {
        if (box->isVisible())
            return box;
    }
    return nullptr;
}

} // namespace

class UrlDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void acceptedAsTyped_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::newRow("address") << "www.example.com/a?b=c";
        QTest::newRow("blanks only") << "   ";
        QTest::newRow("blanks around") << " http://x.example ";
        QTest::newRow("quotes and brackets") << "x.example/'\"<>&";
    }
    void acceptedAsTyped()
    {
        QFETCH(QString, typed);
        CUrlDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QSignalSpy accepted(&dlg, &QDialog::accepted);
        Type(dlg, typed);

        QTest::keyClick(dlg.findChild<QLineEdit*>(), Qt::Key_Return); // OK is the default

        QCOMPARE(accepted.count(), 1);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Address(), typed);
        QVERIFY(!dlg.isVisible());
        QCOMPARE(OpenMessageBox(dlg), nullptr);
    }

    void emptyAddressRefusedUntilOneIsTyped()
    {
        CUrlDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        QSignalSpy finished(&dlg, &QDialog::finished);

        QTest::mouseClick(Button(dlg, QDialogButtonBox::Ok), Qt::LeftButton);

        QMessageBox* box = OpenMessageBox(dlg);
        QVERIFY(box);
        QCOMPARE(box->text(), kEmptyMessage);
        QVERIFY(dlg.isVisible());
        QCOMPARE(finished.count(), 0);
        QVERIFY(dlg.Address().isEmpty());

        box->accept();
        QTRY_COMPARE(OpenMessageBox(dlg), nullptr);
        Type(dlg, "shop.example");
        QTest::mouseClick(Button(dlg, QDialogButtonBox::Ok), Qt::LeftButton);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Address(), QString("shop.example"));
    }

    void cancelLeavesNoAddress_data()
    {
        QTest::addColumn<bool>("byEscape");
        QTest::newRow("Cancel button") << false;
        QTest::newRow("Esc") << true;
    }
    void cancelLeavesNoAddress()
    {
        QFETCH(bool, byEscape);
        CUrlDlg dlg;
        dlg.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dlg));
        Type(dlg, "www.example.com");
        if (byEscape)
            QTest::keyClick(dlg.findChild<QLineEdit*>(), Qt::Key_Escape);
        else
            QTest::mouseClick(Button(dlg, QDialogButtonBox::Cancel), Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
        QVERIFY(!dlg.isVisible());
        QVERIFY(dlg.Address().isEmpty());
    }
};

QTEST_MAIN(UrlDlgTest)
#include "url_dlg_test.moc"
