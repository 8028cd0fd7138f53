// The invite dialog: the session's operators newest first without the operator, status words
// and pictures, OK open only with a selection, and the id it confirms.
#include "chat_rig.h"
#include "flat_button.h"
#include "invite_dlg.h"
#include "invite_list_model.h"
#include "message_codes.h"

#include <QHeaderView>
#include <QTreeView>
#include <QtTest>

using namespace testing_support;

namespace {

// "id,status,first,last;..." as operator entries.
std::vector<CUserEntry> Operators(const QString& records)
{
    std::vector<CUserEntry> entries;
    for (const QString& record : records.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QStringList f = record.split(QLatin1Char(','));
        CUserEntry e;
        e.id = f[0].toInt();
        e.type = UserType::kOperator;
        e.status = f[1].toInt();
        e.text2 = f[2].toStdString();
        e.text3 = f[3].toStdString();
        entries.push_back(e);
    }
    return entries;
}

// Each row as "id|name|status|picture".
QStringList Rows(const QAbstractItemModel& model)
{
    QStringList rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        const QModelIndex name = model.index(r, CInviteListModel::kNameColumn);
        rows << QStringLiteral("%1|%2|%3|%4")
                    .arg(name.data(CInviteListModel::IdRole).toInt())
                    .arg(name.data().toString(),
                         model.index(r, CInviteListModel::kStatusColumn).data().toString())
                    .arg(name.data(CInviteListModel::ImageRole).toInt());
    }
    return rows;
}

} // namespace

class InviteDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void listed_data()
    {
        QTest::addColumn<QString>("operators");
        QTest::addColumn<QStringList>("rows");
        QTest::newRow("reverse of the session's order")
            << "7,1,Ann,Lee;8,1,Bob,Stone;9,2,Cy,Reed;10,3,Di,Wu"
            << QStringList{"10|Di Wu|away|2", "9|Cy Reed|busy|2", "8|Bob Stone|online|1"};
        QTest::newRow("status not known")
            << "8,0,Bob,Stone;9,7,Cy,Reed"
            << QStringList{"9|Cy Reed|online|0", "8|Bob Stone|online|0"};
        QTest::newRow("no one else") << "7,1,Ann,Lee" << QStringList{};
    }
    void listed()
    {
        QFETCH(QString, operators);
        QFETCH(QStringList, rows);
        CInviteListModel model;
        model.SetOperators(Operators(operators), CChatRig::kOwnId);
        QCOMPARE(Rows(model), rows);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("Name"));
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("Status"));
        for (int r = 0; r < model.rowCount(); ++r)
            QVERIFY(!model.index(r, 0).data(Qt::DecorationRole).value<QPixmap>().isNull());
    }

    // Read from a logged-in session's operator list; OK follows the selection.
    void confirming()
    {
        CChatRig rig;
        rig.server.SetListReply(msg::kRequestUsers,
                                ParticipantsReply({{7, 0, 2, 1, "", "Ann", "Lee"},
                                                   {8, 0, 2, 2, "", "Bob", "Stone"},
                                                   {9, 0, 2, 1, "", "Cy", "Reed"}}));
        rig.session->RequestOperators();
        QTRY_COMPARE(rig.session->Operators().Count(), 3);

        CInviteDlg dialog(*rig.session, rig.notifier);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Parlendo"));
        QTreeView* list = dialog.List();
        QCOMPARE(Rows(*list->model()), (QStringList{"9|Cy Reed|online|1", "8|Bob Stone|busy|2"}));
        QCOMPARE(list->header()->sectionSize(0), CInviteDlg::kNameWidth);
        QCOMPARE(list->header()->sectionSize(1), CInviteDlg::kStatusWidth);
        QVERIFY(!dialog.OkButton()->isEnabled());

        dialog.accept(); // reached without a selection, e.g. by Enter
        QCOMPARE(rig.notifier.informed,
                 QStringList{"You must select the user you want to invite to this call."});
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        QCOMPARE(dialog.SelectedOperatorId(), -1);

        list->setCurrentIndex(list->model()->index(1, 1));
        QVERIFY(dialog.OkButton()->isEnabled());
        list->clearSelection();
        QVERIFY(!dialog.OkButton()->isEnabled());
        list->setCurrentIndex(list->model()->index(1, 0));
        QTest::mouseClick(dialog.OkButton(), Qt::LeftButton);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.SelectedOperatorId(), 8);

        // Enter answers with the focused button: on Cancel it invites nobody.
        CInviteDlg again(*rig.session, rig.notifier);
        again.List()->setCurrentIndex(again.List()->model()->index(0, 0));
        again.show();
        QVERIFY(QTest::qWaitForWindowActive(&again));
        again.findChild<CFlatButton*>(QStringLiteral("cancel"))->setFocus();
        QTest::keyClick(&again, Qt::Key_Return);
        QCOMPARE(again.result(), int(QDialog::Rejected));
        QCOMPARE(again.SelectedOperatorId(), -1);
    }
};

QTEST_MAIN(InviteDlgTest)
#include "invite_dlg_test.moc"
