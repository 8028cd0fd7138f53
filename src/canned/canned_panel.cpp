#include "canned_panel.h"

#include "canned_store.h"
#include "canned_tree_look.h"
#include "canned_tree_model.h"

#include <QAbstractButton>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextCursor>
#include <QTextEdit>
#include <QTreeView>

namespace {

// Through a cursor rather than setPlainText, so the operator can undo back to what was typed.
template <typename Edit> CCannedPanel::InputReplacer ReplacerOf(Edit* input)
{
    return [input = QPointer<Edit>(input)](const QString& message) {
        if (!input)
            return;
        QTextCursor cursor(input->document());
        cursor.select(QTextCursor::Document);
        cursor.insertText(message);
        input->setTextCursor(cursor);
    };
}

} // namespace

CCannedPanel::CCannedPanel(QTreeView* tree, QPlainTextEdit* input)
    : CCannedPanel(tree, ReplacerOf(input))
{
}

CCannedPanel::CCannedPanel(QTreeView* tree, QTextEdit* input)
    : CCannedPanel(tree, ReplacerOf(input))
{
}

CCannedPanel::CCannedPanel(QTreeView* tree, InputReplacer replaceInput)
    : QObject(tree), m_tree(tree), m_shown(!tree->isHidden()), m_model(new CCannedTreeModel(this)),
      m_replaceInput(std::move(replaceInput))
{
    ApplyCannedTreeLook(*m_tree, false);
    m_model->SetAnswers(LoadCannedAnswers());
    m_tree->setModel(m_model);
    OpenLoadedCategories(*m_tree);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCannedPanel::OnSelectionChanged);
}

void CCannedPanel::SetFrame(QWidget* caption, QAbstractButton* hideButton)
{
    if (m_hideButton)
        disconnect(m_hideButton, nullptr, this, nullptr);
    m_caption = caption;
    m_hideButton = hideButton;
    if (m_hideButton)
        connect(m_hideButton, &QAbstractButton::clicked, this, &CCannedPanel::Hide);
    SetShown(m_shown);
}

void CCannedPanel::Toggle()
{
    SetShown(!m_shown);
    emit ShownChanged(m_shown);
}

void CCannedPanel::Hide()
{
    SetShown(false);
    emit ShownChanged(false);
}

void CCannedPanel::SetShown(bool shown)
{
    m_shown = shown;
    for (QWidget* part :
         {static_cast<QWidget*>(m_tree), m_caption, static_cast<QWidget*>(m_hideButton)}) {
        if (part)
            part->setVisible(shown);
    }
}

void CCannedPanel::OnSelectionChanged(const QItemSelection& selected)
{
    if (selected.indexes().isEmpty())
        return;
    const QModelIndex item = selected.indexes().first();
    if (m_model->IsAnswer(item) && m_replaceInput)
        m_replaceInput(item.data(CCannedTreeModel::MessageRole).toString());
}
