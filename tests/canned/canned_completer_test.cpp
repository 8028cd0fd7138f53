// The completion list of canned answers in an input box, typed at as an operator would: what it
// finds and in which order, what goes into the box, and that Escape and Enter stay the list's
// in a window with an Escape shortcut and its own Enter handling.
#include "canned_completer.h"
#include "canned_store.h"
#include "canned_ui_helpers.h"
#include "canned_uses.h"
#include "file_helpers.h"

#include <QListView>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QVBoxLayout>
#include <QtTest>

using namespace canned_testing;

namespace {

const CannedAnswers kAnswers = {
    {"Greetings",
     {{"Welcome", "Hi {visitor}, I'm {operator} {nobody}. {date} {time}"}, {"Good bye", "Bye!"}},
     true},
    {"Shipping",
     {{"Delivery times", "We ship in two days. You are welcome to ask."},
      {"Returns", "Send it back within 30 days."},
      {"Caf\xc3\xa9 hours", "Open at nine."}},
     true},
};

// A chat window's pieces. Its filter sends the line on Enter, and is installed after the
// completer: the order in which the completer would see Enter last.
struct Chat final : QObject
{
    QWidget window;
    QPlainTextEdit* input = new QPlainTextEdit(&window);
    CCannedCompleter* completer;
    int sent = 0;

    explicit Chat(const CannedContext& context = {})
        : completer(new CCannedCompleter(input, kAnswers, [context] { return context; }))
    {
        (new QVBoxLayout(&window))->addWidget(input);
        connect(new QShortcut(Qt::Key_Escape, &window), &QShortcut::activated, &window,
                &QWidget::close);
        input->installEventFilter(this);
        window.resize(420, 300);
        window.show();
        window.activateWindow();
        input->setFocus();
    }
    bool eventFilter(QObject*, QEvent* event) override
    {
        const bool enter = event->type() == QEvent::KeyPress &&
                           static_cast<QKeyEvent*>(event)->key() == Qt::Key_Return;
        sent += enter;
        return enter;
    }
    bool Ready() { return QTest::qWaitForWindowActive(&window) && input->hasFocus(); }
    QListView* List() const { return Child<QListView>(&window, "cannedCompletions"); }
    bool Open() const { return List()->isVisible(); }
    QStringList Shown() const
    {
        QStringList titles;
        for (int row = 0; Open() && row < List()->model()->rowCount(); ++row)
            titles.append(List()->model()->index(row, 0).data().toString());
        return titles;
    }
};

const QByteArray kUses = R"({"uses": [{"category": "Shipping", "title": "Returns", "count": 3},
                                      {"category": "Greetings", "title": "Good bye", "count": 1}]})";

} // namespace

class CannedCompleterTest final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_data = std::make_unique<ScratchData>();
        QVERIFY(m_data->IsValid());
    }

    void findsAndOrders_data()
    {
        QTest::addColumn<QByteArray>("uses");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("shown");
        const QStringList fileOrder = {"Welcome", "Good bye", "Delivery times", "Returns",
                                       "Café hours"};
        QTest::newRow("all, most used first")
            << kUses << "/"
            << QStringList{"Returns", "Good bye", "Welcome", "Delivery times", "Café hours"};
        QTest::newRow("damaged counts ignored") << kUses.chopped(9) << "/" << fileOrder;
        QTest::newRow("title before message")
            << kUses << "/wel" << QStringList{"Welcome", "Delivery times"};
        QTest::newRow("word starts") << kUses << "/gb" << QStringList{"Good bye"};
        QTest::newRow("category, by use")
            << kUses << "/ship" << QStringList{"Returns", "Delivery times", "Café hours"};
        QTest::newRow("accents aside") << kUses << "/CAFE" << QStringList{"Café hours"};
        QTest::newRow("every word") << kUses << "/days ret" << QStringList{"Returns"};
        QTest::newRow("nothing found: closed") << kUses << "/zzz" << QStringList();
        QTest::newRow("slash inside a word") << kUses << "and/wel" << QStringList();
    }
    void findsAndOrders()
    {
        QFETCH(QByteArray, uses);
        QFETCH(QString, typed);
        QFETCH(QStringList, shown);
        QVERIFY(testing_support::WriteFile(CCannedUses::DefaultFile(), uses));
        Chat chat;
        QVERIFY(chat.Ready());
        QTest::keyClicks(chat.input, typed);
        QCOMPARE(chat.Shown(), shown);
    }

    void insertsAtTheCursorWithPlaceholders()
    {
        const QDateTime now(QDate(2024, 3, 5), QTime(14, 7));
        // A name that holds a placeholder is not filled in again.
        Chat chat({QStringLiteral("{operator}"), QStringLiteral("Bob"), now});
        QVERIFY(chat.Ready());
        chat.input->setPlainText("Hi,  ok");
        QTextCursor cursor = chat.input->textCursor();
        cursor.setPosition(4);
        chat.input->setTextCursor(cursor);
        QTest::keyClicks(chat.input, "/wel");
        QTest::keyClick(chat.input, Qt::Key_Tab);
        const QLocale locale;
        const QString welcome = "Hi {operator}, I'm Bob {nobody}. " +
                                locale.toString(now.date(), QLocale::ShortFormat) + " " +
                                locale.toString(now.time(), QLocale::ShortFormat);
        QCOMPARE(chat.input->toPlainText(), "Hi, " + welcome + " ok");
        QCOMPARE(chat.input->textCursor().position(), 4 + welcome.size());
        QVERIFY(chat.input->hasFocus() && !chat.Open());
        chat.input->undo();
        QCOMPARE(chat.input->toPlainText(), QString("Hi, /wel ok"));

        // Ctrl+Space in the middle of a word; Down chooses the second answer.
        cursor.setPosition(3);
        chat.input->setTextCursor(cursor);
        QTest::keyClick(chat.input, Qt::Key_Space, Qt::ControlModifier);
        QTest::keyClicks(chat.input, "ship");
        QTest::keyClick(chat.input, Qt::Key_Down);
        QTest::keyClick(chat.input, Qt::Key_Return);
        QCOMPARE(chat.input->toPlainText(), QString("Hi,Send it back within 30 days. /wel ok"));
        // The panel's way: in place of the selection.
        cursor.setPosition(chat.input->toPlainText().size() - 7);
        cursor.setPosition(chat.input->toPlainText().size(), QTextCursor::KeepAnchor);
        chat.input->setTextCursor(cursor);
        chat.completer->InsertAnswer("Greetings", "Good bye", "Bye!");
        QVERIFY(chat.input->toPlainText().endsWith("days. Bye!"));
        QCOMPARE(chat.sent, 0);

        const CCannedUses uses;
        QCOMPARE(uses.Count("Greetings", "Welcome") + uses.Count("Shipping", "Returns") +
                     uses.Count("Greetings", "Good bye"),
                 3);
    }

    void escapeClosesTheListOnly()
    {
        Chat chat;
        QVERIFY(chat.Ready());
        QTest::keyClicks(chat.input, "/g");
        QVERIFY(chat.Open());
        QTest::keyClick(chat.input, Qt::Key_Escape);
        QVERIFY(!chat.Open());
        QVERIFY(chat.window.isVisible());
        // Typing on does not bring it back; a new "/" does, and deleting it closes the list.
        QTest::keyClicks(chat.input, "o");
        QVERIFY(!chat.Open());
        QTest::keyClicks(chat.input, " /");
        QVERIFY(chat.Open());
        QTest::keyClick(chat.input, Qt::Key_Backspace);
        QVERIFY(!chat.Open());
        QCOMPARE(chat.input->toPlainText(), QString("/go "));
        QTest::keyClick(chat.input, Qt::Key_Escape);
        QVERIFY(!chat.window.isVisible());
    }

    void enterInsertsAndIsNotSent()
    {
        Chat chat;
        QVERIFY(chat.Ready());
        QTest::keyClicks(chat.input, "/bye");
        QTest::keyClick(chat.input, Qt::Key_Return);
        QCOMPARE(chat.input->toPlainText(), QString("Bye!"));
        QCOMPARE(chat.sent, 0);
        QTest::keyClick(chat.input, Qt::Key_Return);
        QCOMPARE(chat.sent, 1);
        // With nothing found the list is closed, and Enter sends.
        QTest::keyClicks(chat.input, " /zzz");
        QTest::keyClick(chat.input, Qt::Key_Return);
        QCOMPARE(chat.sent, 2);
    }

private:
    std::unique_ptr<ScratchData> m_data;
};

QTEST_MAIN(CannedCompleterTest)
#include "canned_completer_test.moc"
