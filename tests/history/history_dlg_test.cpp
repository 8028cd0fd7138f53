// The "Chat History" window as the operator uses it, offscreen on a real archive: Ctrl+F and a
// word find a chat with the word marked in its transcript, which grows as the chat goes on;
// the chosen chats are copied oldest first; the history goes only once the delete is confirmed.
#include "history_dlg.h"
#include "history_fixture.h"
#include "transcript_look.h"

#include <QtTest>
#include <QtWidgets>

using namespace history_testing;

class HistoryDlgTest final : public QObject
{
    Q_OBJECT

private slots:
    void operatorFindsCopiesAndDeletes()
    {
        ScratchData data;
        CChatArchive archive;
        const auto mary = FillThreeChats(archive, CChatArchive::Now());
        QVERIFY(archive.Flush());
        CHistoryDlg window(archive);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto* list = window.findChild<QTreeView*>("chats");
        auto* search = window.findChild<QLineEdit*>("search");
        auto* transcript = window.findChild<QTextEdit*>("transcript");
        const QString mark = CTranscriptLook::MatchFormat().background().color().name();
        list->setFocus();
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(search->hasFocus());
        QTest::keyClicks(search, "PARCEL");
        QTRY_COMPARE(list->model()->rowCount(), 1);
        QCOMPARE(transcript->toHtml().count(mark), 1);
        archive.AddLine(mary, Said("Mary", "A second parcel is missing too"));
        QTRY_COMPARE(transcript->toHtml().count(mark), 2);

        search->clear();
        QTRY_COMPARE(list->model()->rowCount(), 3);
        list->selectAll();
        QTest::mouseClick(window.findChild<QPushButton*>("copy"), Qt::LeftButton);
        const QString copied = QApplication::clipboard()->mimeData()->text();
        QVERIFY(copied.indexOf("Mary") < copied.indexOf("Jürgen") &&
                copied.indexOf("Jürgen") < copied.indexOf("Peter"));

        for (const auto answer : {QMessageBox::No, QMessageBox::Yes}) {
            QTest::mouseClick(window.findChild<QPushButton*>("deleteHistory"), Qt::LeftButton);
            const auto* confirm = window.findChildren<QMessageBox*>("confirmDelete").last();
            QTest::mouseClick(confirm->button(answer), Qt::LeftButton);
            QVERIFY(archive.Flush());
            QCOMPARE(archive.Chats({}, 10).size(), answer == QMessageBox::No ? 3 : 0);
        }
        QTRY_VERIFY(list->model()->rowCount() == 0 && transcript->toPlainText().isEmpty());
    }
};

QTEST_MAIN(HistoryDlgTest)
#include "history_dlg_test.moc"
