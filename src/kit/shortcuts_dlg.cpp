#include "shortcuts_dlg.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

CShortcutsDlg::CShortcutsDlg(const QList<CShortcutTable>& tables, QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("Keyboard Shortcuts"));
    setObjectName(QStringLiteral("shortcutsList"));
    setAttribute(Qt::WA_DeleteOnClose);

    auto* list = new QTreeWidget(this);
    list->setObjectName(QStringLiteral("shortcuts"));
    list->setColumnCount(2);
    list->setHeaderLabels({tr("Command"), tr("Keys")});
    list->setRootIsDecorated(false);
    list->setSelectionMode(QAbstractItemView::NoSelection);
    list->setAlternatingRowColors(true);
    list->setUniformRowHeights(true);
    int textWidth = 0, keysWidth = 0;
    for (const CShortcutTable& table : tables) {
        auto* window = new QTreeWidgetItem(list, {table.Window()});
        QFont bold = window->font(0);
        bold.setBold(true);
        window->setFont(0, bold);
        window->setFirstColumnSpanned(true);
        for (const CShortcutTable::Entry& entry : table.Entries()) {
            const QString keys = CShortcutTable::KeysText(entry.keys);
            new QTreeWidgetItem(window, {entry.text, keys});
            textWidth = std::max(textWidth, list->fontMetrics().horizontalAdvance(entry.text));
            keysWidth = std::max(keysWidth, list->fontMetrics().horizontalAdvance(keys));
        }
    }
    list->expandAll();
    list->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    list->header()->setStretchLastSection(true);

    auto* caption = new QLabel(tr("&Shortcuts of each window:"), this);
    caption->setBuddy(list);
    list->setAccessibleName(tr("Keyboard Shortcuts")); // a list takes no name from its label
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(caption);
    layout->addWidget(list, 1);
    layout->addWidget(buttons);
    // Wide enough for every command and all of its keys, whatever the language and scale.
    const int columns = textWidth + keysWidth + list->indentation() + 2 * list->frameWidth() +
                        style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        fontMetrics().averageCharWidth() * 4;
    const QMargins margins = layout->contentsMargins();
    resize(
        std::max(fontMetrics().averageCharWidth() * 80, columns + margins.left() + margins.right()),
        fontMetrics().height() * 32);
    list->setFocus();
}

CShortcutsDlg* CShortcutsDlg::Open(const QList<CShortcutTable>& tables, QWidget* parent)
{
    auto* window = parent ? parent->window() : nullptr;
    auto* open =
        window ? window->findChild<CShortcutsDlg*>(QString(), Qt::FindDirectChildrenOnly) : nullptr;
    if (!open) {
        open = new CShortcutsDlg(tables, window);
        open->show();
    }
    open->raise();
    open->activateWindow();
    return open;
}
