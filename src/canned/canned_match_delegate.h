#pragma once

#include <QStyledItemDelegate>

// A row of the completion list in two lines: the answer's title in bold with its category at
// the right, and the start of its message below; category and message dimmed. Sizes come from
// the list's font and colours from its palette, so the list scales and reads in dark themes.
class CCannedMatchDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};
