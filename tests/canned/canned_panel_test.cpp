// The chat window's canned answers panel on a plain tree view and input box: which clicks put
// an answer into the input box and which do not, and that a panel keeps the answers it opened
// with.
#include "canned_panel.h"
#include "canned_store.h"
#include "canned_tree_model.h"
#include "canned_ui_helpers.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QAbstractButton>
#include <QTreeView>
#include <QtTest>

using namespace canned_testing;

namespace {

const CannedAnswers kAnswers = {
    {"Greetings", {{"Welcome", "Hello!"}, {"Good bye", "Bye, it's been a pleasure."}}, true},
    {"Links",
     {{"Site", "<a href=\"https://www.example.com\" target=\"_blank\">Our <b>site</b></a>"}},
     true},
};

// A chat window's pieces: the panel and the input box.
struct Chat
{
    QWidget window;
    QPlainTextEdit* input = new QPlainTextEdit(&window);
    CCannedPanel* panel = new CCannedPanel(input, &window);
    QTreeView* tree = panel->findChild<QTreeView*>(QStringLiteral("cannedTree"));

    Chat()
    {
        auto* row = new QHBoxLayout(&window);
        row->addWidget(panel);
        row->addWidget(input);
        window.resize(400, 300);
        window.show();
    }
    void Click(const QString& category, const QString& title = {}, bool twice = false)
    {
        canned_testing::Click(*tree, Item(*tree->model(), category, title), twice);
    }
};

} // namespace

class CannedPanelTest final : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        m_data = std::make_unique<ScratchData>();
        QVERIFY(m_data->IsValid());
        QCOMPARE(SaveCannedAnswers(kAnswers), 0);
    }

    void clickedAnswerReplacesTheInputOnce()
    {
        Chat chat;
        QTest::keyClicks(chat.input, "typed by the operator");

        chat.Click("Greetings", "Welcome");
        QCOMPARE(chat.input->toPlainText(), QString("Hello!"));
        // The operator edits it; clicking the same answer again does not put it back.
        QTest::keyClicks(chat.input, " How are you?");
        chat.Click("Greetings", "Welcome");
        chat.Click("Greetings", "Welcome", true);
        QCOMPARE(chat.input->toPlainText(), QString("Hello! How are you?"));
        // A category changes nothing, but leaves the answer free to be picked again.
        chat.Click("Greetings");
        QCOMPARE(chat.input->toPlainText(), QString("Hello! How are you?"));
        chat.Click("Greetings", "Welcome");
        QCOMPARE(chat.input->toPlainText(), QString("Hello!"));
        // The keyboard picks answers too; what was typed is one undo away.
        chat.tree->setFocus();
        QTest::keyClick(chat.tree, Qt::Key_Down);
        QCOMPARE(chat.input->toPlainText(), QString("Bye, it's been a pleasure."));
        chat.input->undo();
        QCOMPARE(chat.input->toPlainText(), QString("Hello!"));
    }

    void htmlGoesInAsItsSourceAndAChosenAnswerGoesInAtTheCursor()
    {
        const QString source = QString::fromStdString(kAnswers[1].answers[0].message);
        Chat chat;
        chat.Click("Links", "Site");
        QCOMPARE(chat.input->toPlainText(), source);
        // A double click takes the replacement back and asks for the answer at the cursor,
        // keeping what was typed.
        chat.input->setPlainText(QStringLiteral("typed"));
        QSignalSpy chosen(chat.panel, &CCannedPanel::AnswerChosen);
        chat.Click("Greetings", "Welcome");
        QCOMPARE(chat.input->toPlainText(), QString("Hello!"));
        chat.Click("Greetings", "Welcome", true);
        QCOMPARE(chat.input->toPlainText(), QString("typed"));
        QCOMPARE(chosen.count(), 1);
        QCOMPARE(chosen.at(0).at(2).toString(), QString("Hello!"));
    }

    void keepsTheAnswersItOpenedWith()
    {
        Chat before;
        const CannedAnswers saved = {{"Other", {{"New", "new"}}, true}};
        QCOMPARE(SaveCannedAnswers(saved), 0);
        Chat after;
        QCOMPARE(Outline(*before.tree->model()),
                 QString("Greetings: Welcome, Good bye | Links: Site"));
        QCOMPARE(Outline(*after.tree->model()), QString("Other: New"));
        QVERIFY(before.tree->isExpanded(Item(*before.tree->model(), "Links")));
    }

    void withoutAFileTheBuiltInsOpenClosed()
    {
        QVERIFY(QFile::remove(m_data->File()));
        Chat chat;
        QCOMPARE(Outline(*chat.tree->model()),
                 QString("Links: Parlendo | Greetings: Welcome, Good bye"));
        const QModelIndex greetings = Item(*chat.tree->model(), "Greetings");
        QVERIFY(!chat.tree->isExpanded(greetings));
        // No button at the root: a double-click opens a category.
        chat.Click("Greetings", {}, true);
        QVERIFY(chat.tree->isExpanded(greetings));
        QCOMPARE(chat.input->toPlainText(), QString());
    }

    void hidesAndShowsAsAWhole()
    {
        Chat chat;
        auto* hide = chat.panel->findChild<QAbstractButton*>(QStringLiteral("hideCanned"));
        QVERIFY(chat.panel->isVisible());
        QTest::mouseClick(hide, Qt::LeftButton);
        QVERIFY(chat.panel->isHidden());
        chat.panel->Toggle();
        QVERIFY(chat.panel->isVisible());
    }

private:
    std::unique_ptr<ScratchData> m_data;
};

QTEST_MAIN(CannedPanelTest)
#include "canned_panel_test.moc"
