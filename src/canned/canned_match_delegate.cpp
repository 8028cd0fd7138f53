#include "canned_match_delegate.h"

#include "canned_match_model.h"
#include "colour_math.h"

#include <QApplication>
#include <QPainter>
#include <algorithm>

namespace {

int Padding(const QFontMetrics& metrics)
{
    return std::max(2, metrics.height() / 4);
}

} // namespace

void CCannedMatchDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    QStyleOptionViewItem item = option;
    initStyleOption(&item, index);
    item.text.clear();
    const QWidget* widget = item.widget;
    const QStyle* style = widget ? widget->style() : QApplication::style();
    style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);

    const bool selected = item.state.testFlag(QStyle::State_Selected);
    const QPalette::ColorGroup group =
        !item.state.testFlag(QStyle::State_Enabled) ? QPalette::Disabled
        : item.state.testFlag(QStyle::State_Active) ? QPalette::Active
                                                    : QPalette::Inactive;
    const QColor text =
        item.palette.color(group, selected ? QPalette::HighlightedText : QPalette::Text);
    const QColor dim = Blend(
        text, item.palette.color(group, selected ? QPalette::Highlight : QPalette::Base), 0.4);

    const QFontMetrics metrics(item.font);
    const int pad = Padding(metrics);
    const QRect area = item.rect.adjusted(2 * pad, pad, -2 * pad, -pad);
    const QRect first(area.left(), area.top(), area.width(), metrics.height());
    const QRect second = first.translated(0, metrics.height() + pad);

    const QString category = metrics.elidedText(
        index.data(CCannedMatchModel::CategoryRole).toString(), Qt::ElideRight, area.width() / 3);
    const int titleWidth = area.width() - metrics.horizontalAdvance(category) - 3 * pad;
    QFont bold = item.font;
    bold.setBold(true);
    const QString title =
        QFontMetrics(bold).elidedText(index.data().toString(), Qt::ElideRight, titleWidth);
    // Only the start of a message fits in the row; eliding the whole of it would lay out (and
    // shape) every letter of it on every paint.
    const qsizetype fits = 2 * area.width() / std::max(1, metrics.averageCharWidth()) + 1;
    const QString message = metrics.elidedText(index.data(CCannedMatchModel::MessageRole)
                                                   .toString()
                                                   .left(2 * fits)
                                                   .simplified()
                                                   .left(fits),
                                               Qt::ElideRight, area.width());

    painter->save();
    painter->setFont(item.font);
    painter->setPen(dim);
    painter->drawText(first, Qt::AlignRight | Qt::AlignVCenter, category);
    painter->drawText(second, Qt::AlignLeft | Qt::AlignVCenter, message);
    painter->setFont(bold);
    painter->setPen(text);
    painter->drawText(first, Qt::AlignLeft | Qt::AlignVCenter, title);
    painter->restore();
}

QSize CCannedMatchDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const
{
    const QFontMetrics metrics(option.font);
    return {metrics.averageCharWidth() * 40, 2 * metrics.height() + 3 * Padding(metrics)};
}
