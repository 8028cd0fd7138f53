#pragma once

#include <QStyledItemDelegate>

// Draws items as usual and shows an item's whole text as its tooltip, only when the column is
// too narrow for it.
class CElidedTipDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override;
};
