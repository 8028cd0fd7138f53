#include "canned_panel.h"

#include "canned_store.h"
#include "canned_tree_look.h"
#include "canned_tree_model.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "system_colour.h"
#include "toolbar_button.h"

#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPointer>
#include <QShortcut>
#include <QTextCursor>
#include <QTreeView>
#include <QVBoxLayout>

namespace {

constexpr int kHideButtonSize = 16;
constexpr int kCaptionHeight = 19;

} // namespace

CCannedPanel::CCannedPanel(QPlainTextEdit* input, QWidget* parent)
    : QWidget(parent), m_input(input), m_caption(new CGradientLabel(tr("Canned Answers"), this)),
      m_hide(new CFlatButton(QString(), m_caption)), m_tree(new QTreeView(this)),
      m_model(new CCannedTreeModel(this))
{
    setObjectName(QStringLiteral("cannedPanel"));
    setFixedWidth(kWidth);

    m_caption->setObjectName(QStringLiteral("cannedCaption"));
    m_caption->SetTopColour(SysColour::ScrollBar);
    m_caption->SetTextColour(SysColour::WindowText);
    m_caption->setFixedHeight(kCaptionHeight);

    // The hide button sits at the right end of the caption strip.
    m_hide->setObjectName(QStringLiteral("hideCanned"));
    SetUpToolbarButton(*m_hide, QStringLiteral(":/ui/hide.svg"));
    m_hide->SetTooltip(tr("Hide the canned answers"), false);
    m_hide->setAccessibleName(tr("Hide the canned answers"));
    m_hide->setFixedSize(kHideButtonSize, kHideButtonSize);
    auto* captionRow = new QHBoxLayout(m_caption);
    captionRow->setContentsMargins(0, 1, 1, 1);
    captionRow->addStretch(1);
    captionRow->addWidget(m_hide);
    connect(m_hide, &QAbstractButton::clicked, this, &QWidget::hide);

    m_tree->setObjectName(QStringLiteral("cannedTree"));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_tree->setSelectionMode(QAbstractItemView::SingleSelection);
    // The chosen answer stays marked while the operator types in the input box.
    QPalette treePalette = m_tree->palette();
    treePalette.setBrush(QPalette::Inactive, QPalette::Highlight,
                         treePalette.brush(QPalette::Active, QPalette::Highlight));
    treePalette.setBrush(QPalette::Inactive, QPalette::HighlightedText,
                         treePalette.brush(QPalette::Active, QPalette::HighlightedText));
    m_tree->setPalette(treePalette);
    ApplyCannedTreeLook(*m_tree, false);
    m_model->SetAnswers(LoadCannedAnswers());
    m_tree->setModel(m_model);
    OpenLoadedCategories(*m_tree);
    connect(m_tree->selectionModel(), &QItemSelectionModel::selectionChanged, this,
            &CCannedPanel::OnSelectionChanged);
    connect(m_tree, &QAbstractItemView::doubleClicked, this, &CCannedPanel::Choose);
    for (const auto key : {Qt::Key_Return, Qt::Key_Enter}) {
        auto* shortcut = new QShortcut(QKeySequence(key), m_tree);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this] { Choose(m_tree->currentIndex()); });
    }
    if (m_input)
        // Typing after the answer went in keeps the text as it now is.
        connect(m_input, &QPlainTextEdit::textChanged, this, [this] { m_replaced = false; });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_caption);
    layout->addWidget(m_tree, 1);
}

void CCannedPanel::Toggle()
{
    setVisible(isHidden());
}

void CCannedPanel::OnSelectionChanged(const QItemSelection& selected)
{
    if (selected.indexes().isEmpty())
        return;
    const QModelIndex item = selected.indexes().first();
    if (m_model->IsAnswer(item))
        ReplaceInput(item.data(CCannedTreeModel::MessageRole).toString());
}

void CCannedPanel::Choose(const QModelIndex& item)
{
    if (!m_model->IsAnswer(item))
        return;
    if (m_replaced && m_input)
        m_input->undo();
    m_replaced = false;
    emit AnswerChosen(item.parent().data().toString(), item.data().toString(),
                      item.data(CCannedTreeModel::MessageRole).toString());
}

void CCannedPanel::ReplaceInput(const QString& message)
{
    if (!m_input)
        return;
    // Through a cursor rather than setPlainText, so the operator can undo back to what was typed.
    QTextCursor cursor(m_input->document());
    cursor.select(QTextCursor::Document);
    cursor.insertText(message);
    m_input->setTextCursor(cursor);
    m_replaced = true;
}
