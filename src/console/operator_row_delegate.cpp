#include "operator_row_delegate.h"

#include "art_icon_engine.h"
#include "colour_math.h"
#include "desktop_theme.h"
#include "operator_list_model.h"
#include "system_colour.h"

#include <QPainter>

namespace {

const QColor kStatusBlue(0, 0, 255);

} // namespace

COperatorRowDelegate::COperatorRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_images(CArtIconEngine::OperatorStates())
{
}

void COperatorRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    QRect rect = option.rect;

    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect,
                      SystemColour(selected ? SysColour::Highlight : SysColour::Window, palette));
    rect.adjust(2, 0, -2, 0);
    if (index.column() == COperatorListModel::kNameColumn) {
        const int image = index.data(COperatorListModel::ImageRole).toInt();
        if (image >= 0 && image < m_images.size()) {
            m_images[image].paint(painter, rect.left(),
                                  rect.top() + (rect.height() - kImageSize) / 2, kImageSize,
                                  kImageSize);
        }
        rect.setLeft(rect.left() + kImageSize + 4);
    }

    QColor text = SystemColour(SysColour::WindowText, palette);
    if (index.column() == COperatorListModel::kStatusColumn)
        text = IsDarkPalette(palette) ? Lighten(kStatusBlue, 0.45) : kStatusBlue;
    if (selected)
        text = SystemColour(SysColour::HighlightText, palette);
    painter->setPen(text);
    painter->setFont(option.font);
    const QString shown =
        option.fontMetrics.elidedText(index.data().toString(), Qt::ElideRight, rect.width());
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
    painter->restore();
}

QSize COperatorRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                     const QModelIndex& index) const
{
    const int width = option.fontMetrics.horizontalAdvance(index.data().toString()) + 4 +
                      (index.column() == COperatorListModel::kNameColumn ? kImageSize + 4 : 0);
    return QSize(width, std::max(kImageSize, option.fontMetrics.height()) + 2);
}
