// The canned answers dialog and the answer editor, on real files in a scratch folder: what
// each kind of file shows and what OK writes back, byte for byte; the rules of Add, Edit and
// Delete; and the editor's refusal of empty fields.
#include "canned_edit_dlg.h"
#include "canned_exchange.h"
#include "canned_msg_dlg.h"
#include "canned_store.h"
#include "canned_tree_model.h"
#include "canned_ui_helpers.h"
#include "file_helpers.h"

#include <QComboBox>
#include <QHelpEvent>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolTip>
#include <QTreeView>
#include <QtTest>

using namespace canned_testing;
using testing_support::Contents;
using testing_support::WriteFile;

namespace {

std::string U32(std::uint32_t value)
{
    std::string bytes;
    for (int i = 0; i < 4; ++i)
        bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
    return bytes;
}

std::string Str(const std::string& text)
{
    return U32(static_cast<std::uint32_t>(text.size())) + text;
}

QByteArray Q(const std::string& bytes)
{
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string AllBytes()
{
    std::string bytes;
    for (int c = 0; c < 256; ++c)
        bytes.push_back(static_cast<char>(c));
    return bytes;
}

// Texts no editor would write: line breaks of every kind, HTML, UTF-8 with a byte order mark,
// Windows-1252 and every byte value.
const CannedAnswers kAwkward = {
    {"Zebra", {{"second", "b"}, {"first", "a"}}, true},
    {"Apple",
     {{"Line breaks", "one\r\ntwo\nthree\r\n\r\n"},
      {"HTML", "<b>Bold</b> <a href=\"https://example.org/?a=1&b=2\" target=\"_blank\">x</a>"},
      {"\xef\xbb\xbfGr\xc3\xbc\xc3\x9f"
       "e \xe2\x82\xac",
       "\x93Quoted\x94 in Windows-1252 \x80 \x81"},
      {"Every byte", AllBytes()}},
     true},
    {"Empty", {}, true},
};

const QByteArray kEmptyFile("\x81\x38\x01\x00\x84\x38\x01\x00", 8);

struct Dialog
{
    CCannedMsgDlg window;
    QTreeView* tree = Child<QTreeView>(&window, "answers");
    const QAbstractItemModel& model = *tree->model();

    Dialog() { window.show(); }
    void Select(const QString& category, const QString& title = {})
    {
        tree->setCurrentIndex(Item(model, category, title));
    }
    bool Enabled(const char* button) const
    {
        return Child<QPushButton>(&window, button)->isEnabled();
    }
    QString Preview() const { return Child<QPlainTextEdit>(&window, "preview")->toPlainText(); }
    // Every category, title and message as the tree shows them.
    QStringList Texts() const
    {
        QStringList texts;
        for (int row = 0; row < model.rowCount(); ++row) {
            const QModelIndex category = model.index(row, 0);
            texts.append(category.data().toString());
            for (int child = 0; child < model.rowCount(category); ++child) {
                const QModelIndex answer = model.index(child, 0, category);
                texts << answer.data().toString()
                      << answer.data(CCannedTreeModel::MessageRole).toString();
            }
        }
        return texts;
    }
};

// Types into the editor as the operator would (a box filled by a program counts as untouched),
// the category last, so that Return can confirm from there.
QLineEdit* Enter(CCannedEditDlg& editor, const QString& category, const QString& title,
                 const QString& message)
{
    auto* titleEdit = Child<QLineEdit>(&editor, "title");
    titleEdit->clear();
    QTest::keyClicks(titleEdit, title);
    auto* messageEdit = Child<QPlainTextEdit>(&editor, "message");
    messageEdit->selectAll();
    messageEdit->insertPlainText(message);
    QLineEdit* categoryEdit = Child<QComboBox>(&editor, "category")->lineEdit();
    categoryEdit->clear();
    QTest::keyClicks(categoryEdit, category);
    return categoryEdit;
}

// Runs Add or Edit with the editor answered by the given texts.
void Answer(void (CCannedMsgDlg::*command)(), Dialog& dialog, const QString& category,
            const QString& title, const QString& message)
{
    OnNextModal<CCannedEditDlg>([&](CCannedEditDlg& editor) {
        QTest::keyClick(Enter(editor, category, title, message), Qt::Key_Return);
    });
    (dialog.window.*command)();
}

} // namespace

class CannedDialogsTest final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_data = std::make_unique<ScratchData>();
        QVERIFY(m_data->IsValid());
    }

    void modelKeepsEveryByteAndShowsText()
    {
        CCannedTreeModel model;
        model.SetAnswers(kAwkward);
        QVERIFY(model.Answers() == kAwkward);
        QCOMPARE(Item(model, "Apple", "Line breaks").data(CCannedTreeModel::MessageRole),
                 QVariant("one\r\ntwo\nthree\r\n\r\n"));
        // QString::fromUtf8 would drop the byte order mark; the tree shows it.
        const QString bomTitle = QChar(0xFEFF) + QString::fromUtf8("Grüße €");
        const QModelIndex cp1252 = Item(model, "Apple", bomTitle);
        QVERIFY(cp1252.isValid());
        QCOMPARE(cp1252.data(CCannedTreeModel::MessageRole).toString(),
                 QString::fromUtf8("“Quoted” in Windows-1252 € \u0081"));

        // A changed text is written as UTF-8; the texts beside it keep their bytes.
        model.EditAnswer(cp1252, "Apple", QString::fromUtf8("Grüße"),
                         cp1252.data(CCannedTreeModel::MessageRole).toString());
        CannedAnswers expected = kAwkward;
        expected[1].answers[2].title = "Gr\xc3\xbc\xc3\x9f"
                                       "e";
        QVERIFY(model.Answers() == expected);
    }

    void whatEachFileShowsAndOkWrites_data()
    {
        QTest::addColumn<bool>("exists");
        QTest::addColumn<QByteArray>("file");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QByteArray>("written");
        const std::string header = U32(80001);
        const std::string kept =
            header + U32(80002) + Str("Kept") + U32(80003) + Str("t") + Str("m");
        QTest::newRow("missing: built-in answers, OK creates the file")
            << false << QByteArray() << "Links: Parlendo | Greetings: Welcome, Good bye"
            << Bytes(BuiltInCannedAnswers());
        QTest::newRow("wrong header: empty, OK writes an empty file")
            << true << QByteArray("\x00\x01\x38\x81\x84\x38\x01\x00", 8) << "" << kEmptyFile;
        QTest::newRow("shorter than its header")
            << true << QByteArray("\x81\x38", 2) << "" << kEmptyFile;
        QTest::newRow("truncated: whole records only")
            << true << Q(kept + U32(80003) + Str("cut") + U32(9) + "mess") << "Kept: t"
            << Q(kept + U32(80004));
        QTest::newRow("answer before any category skipped")
            << true
            << Q(header + U32(80003) + Str("orphan") + Str("m") + kept.substr(4) + U32(80004))
            << "Kept: t" << Q(kept + U32(80004));
        QTest::newRow("awkward texts byte for byte")
            << true << Bytes(kAwkward)
            << QString::fromUtf8("Zebra: second, first | Apple: Line breaks, HTML, ") +
                   QChar(0xFEFF) + QString::fromUtf8("Grüße €, Every byte | Empty: ")
            << Bytes(kAwkward);
    }
    void whatEachFileShowsAndOkWrites()
    {
        QFETCH(bool, exists);
        QFETCH(QByteArray, file);
        QFETCH(QString, shown);
        QFETCH(QByteArray, written);
        if (exists)
            QVERIFY(WriteFile(m_data->File(), file));
        Dialog dialog;
        QCOMPARE(Outline(dialog.model), shown);
        QCOMPARE(QFile::exists(m_data->File()), exists);
        dialog.window.accept();
        QCOMPARE(dialog.window.result(), int(QDialog::Accepted));
        QCOMPARE(Contents(m_data->File()), written);
    }

    void opensAsTheOperatorLeftIt()
    {
        QVERIFY(WriteFile(m_data->File(), Bytes({{"Open", {{"a", "1"}}, true}})));
        Dialog dialog;
        QVERIFY(dialog.tree->isExpanded(Item(dialog.model, "Open")));
        QVERIFY(dialog.Enabled("add") && !dialog.Enabled("edit") && !dialog.Enabled("delete"));

        dialog.Select("Open", "a");
        QVERIFY(dialog.Enabled("edit") && dialog.Enabled("delete"));
        QCOMPARE(dialog.Preview(), QString("1"));
        dialog.Select("Open");
        QVERIFY(!dialog.Enabled("edit") && dialog.Enabled("delete"));
        QCOMPARE(dialog.Preview(), QString());
    }

    void addSuggestsTheSelectedCategory_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("answer under Greetings") << "Greetings"
                                                << "Good bye"
                                                << "Greetings";
        QTest::newRow("Links itself") << "Links"
                                      << ""
                                      << "Links";
        QTest::newRow("nothing selected") << ""
                                          << ""
                                          << "";
    }
    void addSuggestsTheSelectedCategory()
    {
        QFETCH(QString, category);
        QFETCH(QString, title);
        QFETCH(QString, suggested);
        Dialog dialog;
        if (!category.isEmpty())
            dialog.Select(category, title);
        int ran = 0;
        OnNextModal<CCannedEditDlg>(
            [&](CCannedEditDlg& editor) {
                auto* box = Child<QComboBox>(&editor, "category");
                QCOMPARE(box->currentText(), suggested);
                QCOMPARE(box->count(), 2);
                QCOMPARE(box->itemText(0), QString("Greetings")); // sorted
                QVERIFY(Child<QLineEdit>(&editor, "title")->text().isEmpty());
                editor.reject();
            },
            &ran);
        dialog.window.OnAdd();
        QCOMPARE(ran, 1);
        QCOMPARE(Outline(dialog.model), QString("Links: Parlendo | Greetings: Welcome, Good bye"));
    }

    void addFilesUnderTheExactCategory_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("outline");
        QTest::newRow("existing: at its end")
            << "Greetings"
            << "Links: Parlendo | Greetings: Welcome, Good bye, New";
        QTest::newRow("other letter case: a second category")
            << "greetings"
            << "Links: Parlendo | Greetings: Welcome, Good bye | greetings: New";
        QTest::newRow("unknown: a new category at the end")
            << "Orders"
            << "Links: Parlendo | Greetings: Welcome, Good bye | Orders: New";
    }
    void addFilesUnderTheExactCategory()
    {
        QFETCH(QString, category);
        QFETCH(QString, outline);
        Dialog dialog;
        Answer(&CCannedMsgDlg::OnAdd, dialog, category, "New", "Text <i>it's</i>\nline 2");
        QCOMPARE(Outline(dialog.model), outline);
        const QModelIndex added = Item(dialog.model, category, "New");
        QCOMPARE(added.data(CCannedTreeModel::MessageRole).toString(),
                 QString("Text <i>it's</i>\nline 2"));
        QVERIFY(dialog.tree->isExpanded(added.parent()));
        dialog.window.accept();
        QVERIFY(LoadCannedAnswers().back().answers.back().message == "Text <i>it's</i>\nline 2");
    }

    void editInPlaceOrIntoAnotherCategory_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("outline");
        QTest::newRow("same category: stays in place")
            << "Links"
            << "Links: Site | Greetings: Welcome, Good bye";
        QTest::newRow("another: moved to its end, the old one kept empty")
            << "Greetings"
            << "Links:  | Greetings: Welcome, Good bye, Site";
        QTest::newRow("a new one") << "Web"
                                   << "Links:  | Greetings: Welcome, Good bye | Web: Site";
    }
    void editInPlaceOrIntoAnotherCategory()
    {
        QFETCH(QString, category);
        QFETCH(QString, outline);
        Dialog dialog;
        dialog.Select("Links", "Parlendo");
        Answer(&CCannedMsgDlg::OnEdit, dialog, category, "Site", "changed");
        QCOMPARE(Outline(dialog.model), outline);
        QCOMPARE(dialog.Preview(), QString("changed"));
        QCOMPARE(dialog.tree->currentIndex(), Item(dialog.model, category, "Site"));
    }

    void editKeepsWhatWasNotTouched()
    {
        QVERIFY(WriteFile(m_data->File(), Bytes(kAwkward)));
        Dialog dialog;
        dialog.Select("Apple", "Line breaks");
        OnNextModal<CCannedEditDlg>([](CCannedEditDlg& editor) { editor.accept(); });
        dialog.window.OnEdit();
        dialog.window.accept();
        QCOMPARE(Contents(m_data->File()), Bytes(kAwkward));
    }

    void categoryIsNotEdited()
    {
        Dialog dialog;
        int ran = 0;
        OnNextModal<CCannedEditDlg>([](CCannedEditDlg& editor) { editor.reject(); }, &ran);
        dialog.Select("Links");
        dialog.window.OnEdit();
        Click(*dialog.tree, Item(dialog.model, "Greetings"), true);
        QVERIFY(dialog.tree->isExpanded(Item(dialog.model, "Greetings")));
        QTest::qWait(20); // lets the watcher run
        QCOMPARE(ran, 0);
        // On an answer the double-click edits.
        Click(*dialog.tree, Item(dialog.model, "Greetings", "Welcome"));
        OnNextModal<CCannedEditDlg>([](CCannedEditDlg& editor) { editor.reject(); }, &ran);
        Click(*dialog.tree, Item(dialog.model, "Greetings", "Welcome"), true);
        QCOMPARE(ran, 1);
    }

    void deleteThenCancelLosesNothing()
    {
        QVERIFY(WriteFile(m_data->File(), Bytes(kAwkward)));
        {
            Dialog dialog;
            dialog.Select("Apple");
            OnNextModal<QMessageBox>(
                [](QMessageBox& box) { box.button(QMessageBox::Yes)->click(); });
            QTest::mouseClick(Child<QPushButton>(&dialog.window, "delete"), Qt::LeftButton);
            QCOMPARE(Outline(dialog.model), QString("Zebra: second, first | Empty: "));
            // The next item is selected, so Delete goes on working.
            QCOMPARE(dialog.tree->currentIndex(), Item(dialog.model, "Empty"));
            QVERIFY(dialog.Enabled("delete"));
            dialog.window.activateWindow();
            QVERIFY(QTest::qWaitForWindowActive(&dialog.window));
            dialog.tree->setFocus();
            QTest::keyClick(dialog.tree, Qt::Key_Delete);
            QCOMPARE(Outline(dialog.model), QString("Zebra: second, first"));
            dialog.window.reject();
        }
        QCOMPARE(Contents(m_data->File()), Bytes(kAwkward));
        Dialog again;
        QCOMPARE(Outline(again.model).left(30), QString("Zebra: second, first | Apple: "));
    }

    // A failed save keeps the dialog and its edits, so OK can be pressed again once the
    // folder can be written.
    void failedSaveIsReportedAndKeepsTheEdits()
    {
        QVERIFY(WriteFile(m_data->Folder(), "a file where the folder should be"));
        Dialog dialog;
        QString shown;
        OnNextModal<QMessageBox>([&](QMessageBox& box) {
            shown = box.text();
            box.accept();
        });
        dialog.window.accept();
        QCOMPARE(shown, QString("There was an error while writing the canned messages file."));
        QVERIFY(dialog.window.isVisible());
        QCOMPARE(dialog.window.result(), int(QDialog::Rejected));

        QVERIFY(QFile::remove(m_data->Folder()));
        dialog.window.accept();
        QCOMPARE(dialog.window.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.window.isVisible());
        QVERIFY(QFile::exists(m_data->File()));
    }

    void editorRefusesEmptyFields_data()
    {
        QTest::addColumn<QString>("category");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        QTest::newRow("no category") << ""
                                     << "t"
                                     << "m";
        QTest::newRow("no title") << "c"
                                  << ""
                                  << "m";
        QTest::newRow("no message") << "c"
                                    << "t"
                                    << "";
    }
    void editorRefusesEmptyFields()
    {
        QFETCH(QString, category);
        QFETCH(QString, title);
        QFETCH(QString, message);
        CCannedEditDlg editor({"Links"}, {}, {}, {});
        editor.show();
        Enter(editor, category, title, message);
        editor.accept();
        QMessageBox* box = editor.findChild<QMessageBox*>();
        QVERIFY(box && box->isVisible());
        QCOMPARE(box->text(), QString("You must type in all the fields for the canned message."));
        box->accept();
        QVERIFY(editor.isVisible());
        QCOMPARE(Child<QComboBox>(&editor, "category")->currentText(), category);
        QCOMPARE(Child<QLineEdit>(&editor, "title")->text(), title);
        QCOMPARE(Child<QPlainTextEdit>(&editor, "message")->toPlainText(), message);
    }

    void searchRenameAndDeleteAsking()
    {
        Dialog dialog;
        auto* search = Child<QLineEdit>(&dialog.window, "search");
        QTest::keyClicks(search, "gb");
        QCOMPARE(Outline(dialog.model), QString("Greetings: Good bye"));
        search->setText("links");
        QCOMPARE(Outline(dialog.model), QString("Links: Parlendo"));
        search->clear();

        dialog.Select("Links");
        OnNextModal<QInputDialog>([](QInputDialog& ask) {
            ask.setTextValue("Web");
            ask.accept();
        });
        dialog.window.OnRename();
        const QString renamed("Web: Parlendo | Greetings: Welcome, Good bye");
        QCOMPARE(Outline(dialog.model), renamed);
        QString refused;
        OnNextModal<QInputDialog>([&](QInputDialog& ask) {
            OnNextModal<QMessageBox>([&](QMessageBox& box) {
                refused = box.text();
                box.accept();
            });
            ask.setTextValue("Greetings");
            ask.accept();
        });
        dialog.window.OnRename();
        QVERIFY2(refused.contains("Greetings"), qPrintable(refused));
        QCOMPARE(Outline(dialog.model), renamed);

        // A category that holds answers is deleted only when the operator says so.
        dialog.Select("Greetings");
        int asked = 0;
        OnNextModal<QMessageBox>([](QMessageBox& box) { box.button(QMessageBox::No)->click(); },
                                 &asked);
        dialog.window.OnDelete();
        QCOMPARE(asked, 1);
        QCOMPARE(Outline(dialog.model), renamed);
    }

    void exportThenImportGivesTheSameAnswers_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("text") << "team.txt";
        QTest::newRow("canned answers file") << "team.dat";
    }
    void exportThenImportGivesTheSameAnswers()
    {
        QFETCH(QString, name);
        const QString shared = m_data->Folder() + "/" + name;
        QVERIFY(WriteFile(m_data->File(), Bytes(kAwkward)));
        QStringList exported;
        {
            Dialog dialog;
            exported = dialog.Texts();
            QVERIFY(dialog.window.ExportTo(shared));
        }
        // Imported into answers of one's own: a title held already takes the new message.
        QVERIFY(
            WriteFile(m_data->File(), Bytes({{"Zebra", {{"first", "old"}, {"mine", "kept"}}}})));
        Dialog dialog;
        const QStringList merged =
            QStringList{"Zebra", "first", "a", "mine", "kept", "second", "b"} + exported.mid(5);
        QVERIFY(dialog.window.ImportFrom(shared));
        QCOMPARE(dialog.Texts(), merged);
        QVERIFY(dialog.window.ImportFrom(shared));
        QCOMPARE(dialog.Texts(), merged);
        dialog.window.accept();
        CannedAnswers expected = kAwkward;
        expected[0].answers = {{"first", "a"}, {"mine", "kept"}, {"second", "b"}};
        if (name.endsWith(".dat")) // byte for byte, whatever the encoding of the texts
            QCOMPARE(Contents(m_data->File()), Bytes(expected));
    }

    void damagedImportIsRefused_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        const QByteArray binary = Bytes(kAwkward);
        const QByteArray text = CCannedExchange::ToText(kAwkward);
        QTest::newRow("cut short") << "a.dat" << binary.chopped(1) << "cut short";
        QTest::newRow("bytes after the end") << "a.dat" << binary + "x"
                                             << "damaged";
        QTest::newRow("unknown record")
            << "a.dat" << binary.chopped(4) + Q(U32(80009) + U32(80004)) << "damaged";
        QTest::newRow("text cut short")
            << "a.txt" << text.left(text.lastIndexOf("end")) << "cut short";
        QTest::newRow("message line astray")
            << "a.txt" << QByteArray(text).replace("\n> b\n", "\n> b\n\n> c\n") << "Line 8";
        QTest::newRow("unknown escape")
            << "a.txt" << QByteArray(text).replace("\n> b\n", "\n> b\\q\n") << "Line 6";
        QTest::newRow("not UTF-8")
            << "a.txt" << QByteArray(text).replace("\n> b\n", "\n> \xff\n") << "UTF-8";
        QTest::newRow("answer before a category")
            << "a.txt" << QByteArray("Parlendo canned answers 1\ntitle: t\n> m\nend\n") << "Line 2";
        QTest::newRow("another file") << "a.txt" << QByteArray("<html/>") << "not a canned";
    }
    void damagedImportIsRefused()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        QVERIFY(WriteFile(m_data->File(), Bytes(kAwkward)));
        QVERIFY(WriteFile(m_data->Folder() + "/" + name, bytes));
        Dialog dialog;
        const QStringList before = dialog.Texts();
        QString shown;
        OnNextModal<QMessageBox>([&](QMessageBox& box) {
            shown = box.text();
            box.accept();
        });
        QVERIFY(!dialog.window.ImportFrom(m_data->Folder() + "/" + name));
        QVERIFY2(shown.contains(reason) && shown.contains("Nothing was changed"),
                 qPrintable(shown));
        QCOMPARE(dialog.Texts(), before);
    }

    void cutOffTitlesHaveToolTips()
    {
        const QString longTitle(200, QLatin1Char('w'));
        QVERIFY(WriteFile(m_data->File(),
                          Bytes({{"C", {{"Short", "m"}, {longTitle.toStdString(), "m"}}, true}})));
        Dialog dialog;
        QVERIFY(QTest::qWaitForWindowExposed(&dialog.window));
        const auto tipAt = [&](const QString& title) {
            const QModelIndex item = Item(dialog.model, "C", title);
            const QPoint at = dialog.tree->visualRect(item).center();
            QHelpEvent help(QEvent::ToolTip, at, dialog.tree->viewport()->mapToGlobal(at));
            QApplication::sendEvent(dialog.tree->viewport(), &help);
            return QToolTip::isVisible() ? QToolTip::text() : QString();
        };
        QCOMPARE(tipAt("Short"), QString());
        QCOMPARE(tipAt(longTitle), longTitle);
        tipAt("Short");
        QTRY_VERIFY(!QToolTip::isVisible());
    }

private:
    std::unique_ptr<ScratchData> m_data;
};

QTEST_MAIN(CannedDialogsTest)
#include "canned_dialogs_test.moc"
