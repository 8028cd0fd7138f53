#include "operator_list_ctrl.h"

#include "operator_list_model.h"
#include "operator_row_delegate.h"

#include "focus_frame.h"

#include <QHeaderView>

COperatorListCtrl::COperatorListCtrl(QWidget* parent)
    : QTreeView(parent), m_delegate(new COperatorRowDelegate(this))
{
    setItemDelegate(m_delegate);
    setRootIsDecorated(false);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setSectionsMovable(true);
    header()->setStretchLastSection(false);
}

void COperatorListCtrl::setModel(QAbstractItemModel* model)
{
    QTreeView::setModel(model);
    if (!model)
        return;
    header()->resizeSection(COperatorListModel::kNameColumn, kNameWidth);
    header()->resizeSection(COperatorListModel::kStatusColumn, kStatusWidth);
    header()->resizeSection(COperatorListModel::kHostColumn, kHostWidth);
}

void COperatorListCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    // Cell by cell through the delegate, with the selection shown only while focused.
    const bool selected = hasFocus() && selectionModel() && selectionModel()->isSelected(index);
    QHeaderView* columns = header();
    for (int visual = 0; visual < columns->count(); ++visual) {
        const int logical = columns->logicalIndex(visual);
        if (columns->isSectionHidden(logical))
            continue;
        QStyleOptionViewItem cell = option;
        cell.rect = QRect(columns->sectionViewportPosition(logical), option.rect.top(),
                          columns->sectionSize(logical), option.rect.height());
        cell.state.setFlag(QStyle::State_Selected, selected);
        m_delegate->paint(painter, cell, index.sibling(index.row(), logical));
    }
    // The frame goes round the row in sight, not cell by cell.
    if (hasFocus() && currentIndex().isValid() && currentIndex().row() == index.row()) {
        const QRect row(0, option.rect.top(), std::min(columns->length() - columns->offset(),
                                                       viewport()->width()),
                        option.rect.height());
        DrawFocusFrame(*painter, row, option.palette,
                       {COperatorRowDelegate::Background(option.palette, selected)});
    }
}

void COperatorListCtrl::focusInEvent(QFocusEvent* event)
{
    QTreeView::focusInEvent(event);
    viewport()->update();
}

void COperatorListCtrl::focusOutEvent(QFocusEvent* event)
{
    QTreeView::focusOutEvent(event);
    viewport()->update();
}
