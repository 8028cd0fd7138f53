// Every window an operator reaches, read the way a screen reader, a dark desktop and a keyboard
// user read it: each control has a name, each owner-drawn text keeps its contrast in the light and
// the dark theme, and each window's keys do one thing and are all in the shortcuts list.
#include "app_theme.h"
#include "canned_msg_dlg.h"
#include "chat_dlg.h"
#include "chat_shortcuts.h"
#include "console_rig.h"
#include "console_shortcuts.h"
#include "contrast.h"
#include "live_region.h"
#include "options_dlg.h"
#include "readable_colours.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QPointer>
#include <QTest>

namespace {

bool Interactive(QAccessible::Role role)
{
    switch (role) {
    case QAccessible::Button:
    case QAccessible::CheckBox:
    case QAccessible::RadioButton:
    case QAccessible::ComboBox:
    case QAccessible::EditableText:
    case QAccessible::SpinBox:
    case QAccessible::Slider:
    case QAccessible::List:
    case QAccessible::Tree:
    case QAccessible::Table:
    case QAccessible::PageTab:
    case QAccessible::Link:
    case QAccessible::ButtonMenu:
    case QAccessible::ButtonDropDown:
        return true;
    default:
        return false;
    }
}

// The shown interactive controls under node that have no name, by their object names. The cells
// of lists are left to the rows check: a view names them from its model.
void FindUnnamed(QAccessibleInterface* node, QStringList& unnamed)
{
    if (!node || node->state().invisible)
        return;
    const QAccessible::Role role = node->role();
    if (Interactive(role) && node->text(QAccessible::Name).trimmed().isEmpty()) {
        const QObject* object = node->object();
        unnamed << QStringLiteral("%1 (%2)").arg(object ? object->objectName() : QString(),
                                                 object ? object->metaObject()->className() : "");
    }
    if (role == QAccessible::List || role == QAccessible::Tree || role == QAccessible::Table)
        return;
    for (int i = 0; i < node->childCount(); ++i)
        FindUnnamed(node->child(i), unnamed);
}

// Every colour pair the window's owner-drawn widgets and list delegates paint, below its minimum.
QStringList Unreadable(QWidget* window)
{
    QList<CColourPair> pairs;
    const QPalette& palette = window->palette();
    for (const auto& [fore, back] : {std::pair{QPalette::WindowText, QPalette::Window},
                                     std::pair{QPalette::Text, QPalette::Base},
                                     std::pair{QPalette::HighlightedText, QPalette::Highlight},
                                     std::pair{QPalette::Link, QPalette::Base}})
        pairs.append({QStringLiteral("palette"), palette.color(fore), palette.color(back)});
    QList<QObject*> painters;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        painters << widget;
        if (auto* view = qobject_cast<QAbstractItemView*>(widget))
            painters << view->itemDelegate();
    }
    for (QObject* painter : painters)
        if (const auto* readable = dynamic_cast<const IReadableColours*>(painter))
            pairs += readable->ColourPairs();
    QStringList faults;
    for (const CColourPair& pair : pairs) {
        const double ratio = ContrastRatio(pair.fore, pair.back);
        if (ratio < pair.minimum)
            faults << QStringLiteral("%1: %2 on %3 is %4")
                          .arg(pair.what, pair.fore.name(), pair.back.name())
                          .arg(ratio, 0, 'f', 2);
    }
    return faults;
}

// The letters after '&' in the texts of the window's shown buttons and labels, where one is
// used twice: Alt and that letter can then reach only one of them.
QStringList RepeatedMnemonics(QWidget* window)
{
    QHash<QChar, QStringList> owners;
    for (QWidget* widget : window->findChildren<QWidget*>()) {
        if (!widget->isVisibleTo(window) || widget->window() != window)
            continue;
        QString text;
        if (auto* button = qobject_cast<QAbstractButton*>(widget))
            text = button->text();
        else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
            text = label->text();
        const qsizetype at = text.indexOf(QLatin1Char('&'));
        if (at >= 0 && at + 1 < text.size() && text[at + 1] != QLatin1Char('&'))
            owners[text[at + 1].toLower()] << text;
    }
    QStringList repeated;
    for (auto it = owners.cbegin(); it != owners.cend(); ++it)
        if (it->size() > 1)
            repeated << it->join(QStringLiteral(" / "));
    return repeated;
}

// Each key does one thing in the window: a key a control handles by itself (Enter in the input
// box, and in the canned answers' list) may serve several controls, but no window command. And
// every key the window answers to is in the list.
QStringList KeyFaults(QWidget* window, const CShortcutTable& table)
{
    QStringList faults;
    QSet<QKeySequence> commands, byControls;
    for (const CShortcutTable::Entry& entry : table.Entries())
        for (const QKeySequence& key : entry.keys) {
            if (commands.contains(key) || (!entry.byControl && byControls.contains(key)))
                faults << QStringLiteral("twice in the list: ") + key.toString();
            (entry.byControl ? byControls : commands).insert(key);
        }
    QSet<QKeySequence> installed;
    for (const QAction* action : window->findChildren<QAction*>())
        for (const QKeySequence& key : action->shortcuts()) {
            if (!commands.contains(key))
                faults << QStringLiteral("not listed: ") + key.toString();
            if (installed.contains(key))
                faults << QStringLiteral("two actions: ") + key.toString();
            installed.insert(key);
        }
    return faults;
}

} // namespace

class ConsoleLooksTest final : public QObject
{
    Q_OBJECT

    CConsoleRig rig;
    QPointer<CChatDlg> chat;
    std::unique_ptr<COptionsDlg> options;
    std::unique_ptr<CCannedMsgDlg> canned;

    // The windows by what the operator calls them, each shown.
    QList<std::pair<QString, QWidget*>> Windows()
    {
        QList<std::pair<QString, QWidget*>> windows{{QStringLiteral("main"), &rig.Window()},
                                                    {QStringLiteral("chat"), chat->window()},
                                                    {QStringLiteral("options"), options.get()},
                                                    {QStringLiteral("canned"), canned.get()}};
        for (QWidget* top : QApplication::topLevelWidgets())
            if (top->isVisible() &&
                std::none_of(windows.cbegin(), windows.cend(),
                             [top](const auto& known) { return known.second == top; }))
                windows.append({QString::fromLatin1(top->metaObject()->className()), top});
        return windows;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(rig.Start());
        QVERIFY(rig.LogInAndList());
        const SimVisitor visitor = rig.stage.World().Visitors().front();
        const int callId = rig.stage.World().RequestChat(visitor.id, rig.OperatorId());
        chat = rig.stage.OpenChat(callId);
        QVERIFY(chat);
        QTRY_VERIFY(chat->windowTitle().endsWith(QString::fromStdString(visitor.name)));
        QVERIFY(rig.stage.World().VisitorSays(callId, "Where is my parcel?"));
        // A new line is said to a screen reader without taking the focus from the input box.
        auto* live = chat->window()->findChild<CLiveRegion*>();
        QVERIFY(live);
        QTRY_VERIFY(live->Text().contains(QStringLiteral("Where is my parcel?")));
        for (const char* action : {"openHistory", "shortcuts"}) {
            auto* command = rig.Window().findChild<QAction*>(QLatin1String(action));
            QVERIFY2(command, action);
            command->trigger();
        }
        options = std::make_unique<COptionsDlg>(rig.stage.settings, rig.notifier);
        options->show();
        canned = std::make_unique<CCannedMsgDlg>();
        canned->show();
        QTRY_VERIFY(Windows().size() >= 6); // the history and the shortcuts list too
    }

    void everyControlNamedAndRowsRead()
    {
        for (const auto& [name, window] : Windows()) {
            QStringList unnamed;
            FindUnnamed(QAccessible::queryAccessibleInterface(window), unnamed);
            QVERIFY2(unnamed.isEmpty(),
                     qPrintable(name + QStringLiteral(": ") + unnamed.join(u',')));
        }
        // A screen reader reads a visitor's row as the list draws it (page, address, IP), not the
        // site key the first column holds.
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(rig.List("visitors"));
        QVERIFY(list && list->tableInterface() && list->tableInterface()->rowCount() > 0);
        QString row;
        for (int column = 0; column < list->tableInterface()->columnCount(); ++column)
            row += list->tableInterface()->cellAt(0, column)->text(QAccessible::Name) + u' ';
        const auto visitors = rig.stage.World().Visitors();
        QVERIFY2(std::any_of(visitors.cbegin(), visitors.cend(),
                             [&row](const SimVisitor& visitor) {
                                 return row.contains(QString::fromStdString(visitor.caption)) &&
                                        row.contains(QString::fromStdString(visitor.address));
                             }),
                 qPrintable(row));
    }

    void readableInLightAndDark_data()
    {
        QTest::addColumn<int>("theme");
        QTest::newRow("light") << int(CAppTheme::kLight);
        QTest::newRow("dark") << int(CAppTheme::kDark);
    }
    void readableInLightAndDark()
    {
        QFETCH(int, theme);
        CAppTheme::Apply(theme);
        QCoreApplication::processEvents();
        for (const auto& [name, window] : Windows()) {
            const QStringList faults = Unreadable(window);
            QVERIFY2(faults.isEmpty(),
                     qPrintable(name + QStringLiteral(": ") + faults.join(u'\n')));
        }
        CAppTheme::Apply(CAppTheme::kSystem);
    }

    void keysOnceAndListed()
    {
        QStringList faults = KeyFaults(&rig.Window(), ConsoleShortcuts()) +
                             KeyFaults(chat->window(), ChatShortcuts());
        for (const auto& [name, window] : Windows())
            for (const QString& repeated : RepeatedMnemonics(window))
                faults << name + QStringLiteral(": ") + repeated;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join(u'\n')));
    }
};

QTEST_MAIN(ConsoleLooksTest)
#include "console_looks_test.moc"
