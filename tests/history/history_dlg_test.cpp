// The "Chat History" window as the operator uses it, offscreen against a real archive: find a
// chat by a word with Ctrl+F, see the match marked in its transcript, watch a chat that goes on
// grow, copy the chosen chats, and delete the history after confirming.
#include "history_chat_model.h"
#include "history_dlg.h"
#include "history_fixture.h"
#include "transcript_look.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>
#include <QTreeView>
#include <QtTest>

using namespace history_testing;

namespace {

template <typename Widget> Widget* Child(const QObject& parent, const char* name)
{
    auto* child = parent.findChild<Widget*>(QLatin1String(name));
    if (!child)
        qFatal("no %s", name);
    return child;
}

// The stretches of the transcript marked as matches.
QStringList Marked(const QTextEdit& transcript)
{
    QStringList marked;
    const QColor match = CTranscriptLook::MatchFormat().background().color();
    for (QTextBlock b = transcript.document()->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().background().color() == match)
                marked << it.fragment().text();
        }
    }
    return marked;
}

} // namespace

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
        auto* list = Child<QTreeView>(window, "chats");
        auto* search = Child<QLineEdit>(window, "search");
        auto* transcript = Child<QTextEdit>(window, "transcript");
        QCOMPARE(list->model()->rowCount(), 3);

        list->setFocus();
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QVERIFY(search->hasFocus());
        QTest::keyClicks(search, "PARCEL");
        QTRY_COMPARE(list->model()->rowCount(), 1);
        QCOMPARE(list->model()->index(0, CHistoryChatModel::Visitor).data().toString(), "Mary");
        QCOMPARE(Marked(*transcript), QStringList{"parcel"});

        // The chat goes on in its window; the history follows.
        archive.AddLine(mary, Said("Mary", "A second parcel is missing too"));
        QTRY_COMPARE(Marked(*transcript), (QStringList{"parcel", "parcel"}));

        search->clear();
        QTRY_COMPARE(list->model()->rowCount(), 3);
        list->selectAll();
        QTest::mouseClick(Child<QPushButton>(window, "copy"), Qt::LeftButton);
        const QString copied = QApplication::clipboard()->mimeData()->text();
        QVERIFY2(copied.indexOf("Mary") < copied.indexOf(QString::fromUtf8("Jürgen")) &&
                     copied.indexOf(QString::fromUtf8("Jürgen")) < copied.indexOf("Peter"),
                 qPrintable(copied)); // oldest first, as they happened
        QVERIFY(QApplication::clipboard()->mimeData()->hasHtml());

        QTest::mouseClick(Child<QPushButton>(window, "deleteHistory"), Qt::LeftButton);
        auto* confirm = Child<QMessageBox>(window, "confirmDelete");
        QTest::mouseClick(confirm->button(QMessageBox::No), Qt::LeftButton);
        QVERIFY(archive.Flush());
        QCOMPARE(archive.Chats({}, 10).size(), 3);
        QTest::mouseClick(Child<QPushButton>(window, "deleteHistory"), Qt::LeftButton);
        confirm = Child<QMessageBox>(window, "confirmDelete");
        QTest::mouseClick(confirm->button(QMessageBox::Yes), Qt::LeftButton);
        QTRY_COMPARE(list->model()->rowCount(), 0);
        QVERIFY(transcript->toPlainText().isEmpty());
    }
};

QTEST_MAIN(HistoryDlgTest)
#include "history_dlg_test.moc"
