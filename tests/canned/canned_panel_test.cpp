// The chat window's canned answers panel on a plain tree view and input box: which clicks put
// an answer into the input box and which do not, and that a panel keeps the answers it opened
// with.
#include "canned_panel.h"
#include "canned_store.h"
#include "canned_tree_model.h"
#include "canned_ui_helpers.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTextEdit>
#include <QToolButton>
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

// A chat window's pieces: the tree and an input box of either kind.
template <typename Input> struct Chat
{
    QWidget window;
    QTreeView* tree = new QTreeView(&window);
    Input* input = new Input(&window);
    CCannedPanel* panel;

    Chat() : panel(new CCannedPanel(tree, input))
    {
        auto* row = new QHBoxLayout(&window);
        row->addWidget(tree);
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
        Chat<QPlainTextEdit> chat;
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

    void htmlGoesInAsItsSource()
    {
        const QString source = QString::fromStdString(kAnswers[1].answers[0].message);
        Chat<QTextEdit> rich;
        rich.Click("Links", "Site");
        QCOMPARE(rich.input->toPlainText(), source);
        QVERIFY(!rich.input->textCursor().charFormat().isAnchor());

        QTreeView tree;
        QString replaced;
        CCannedPanel panel(&tree, [&](const QString& message) { replaced = message; });
        tree.show();
        tree.setCurrentIndex(Item(*tree.model(), "Links", "Site"));
        QCOMPARE(replaced, source);
    }

    void keepsTheAnswersItOpenedWith()
    {
        Chat<QPlainTextEdit> before;
        const CannedAnswers saved = {{"Other", {{"New", "new"}}, true}};
        QCOMPARE(SaveCannedAnswers(saved), 0);
        Chat<QPlainTextEdit> after;
        QCOMPARE(Outline(*before.tree->model()),
                 QString("Greetings: Welcome, Good bye | Links: Site"));
        QCOMPARE(Outline(*after.tree->model()), QString("Other: New"));
        QVERIFY(before.tree->isExpanded(Item(*before.tree->model(), "Links")));
    }

    void withoutAFileTheBuiltInsOpenClosed()
    {
        QVERIFY(QFile::remove(m_data->File()));
        Chat<QPlainTextEdit> chat;
        QCOMPARE(Outline(*chat.tree->model()),
                 QString("Links: Parlendo | Greetings: Welcome, Good bye"));
        const QModelIndex greetings = Item(*chat.tree->model(), "Greetings");
        QVERIFY(!chat.tree->isExpanded(greetings));
        // No button at the root: a double-click opens a category.
        chat.Click("Greetings", {}, true);
        QVERIFY(chat.tree->isExpanded(greetings));
        QCOMPARE(chat.input->toPlainText(), QString());
    }

    void showsAndHidesWithItsFrame()
    {
        // As a chat window starts: the panel's widgets hidden, then shown by the button.
        QWidget window;
        auto* tree = new QTreeView(&window);
        auto* caption = new QLabel(QStringLiteral("Canned Answers"), &window);
        auto* hide = new QToolButton(&window);
        tree->hide();
        auto* panel = new CCannedPanel(tree, [](const QString&) {});
        panel->SetFrame(caption, hide);
        window.show();
        QSignalSpy changed(panel, &CCannedPanel::ShownChanged);
        const auto visible = [&] {
            return QList<bool>{tree->isVisible(), caption->isVisible(), hide->isVisible()};
        };
        QVERIFY(!panel->IsShown());
        QCOMPARE(visible(), (QList<bool>{false, false, false}));

        panel->Toggle();
        QCOMPARE(visible(), (QList<bool>{true, true, true}));
        QTest::mouseClick(hide, Qt::LeftButton);
        QCOMPARE(visible(), (QList<bool>{false, false, false}));
        panel->Hide(); // whatever its state
        panel->Toggle();
        QVERIFY(panel->IsShown());
        QCOMPARE(changed.count(), 4);
        QCOMPARE(changed.at(2).at(0).toBool(), false);
        QCOMPARE(changed.at(3).at(0).toBool(), true);
    }

private:
    std::unique_ptr<ScratchData> m_data;
};

QTEST_MAIN(CannedPanelTest)
#include "canned_panel_test.moc"
