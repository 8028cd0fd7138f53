#include "operator_row_delegate.h"

#include "contrast.h"
#include "focus_frame.h"
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

QColor COperatorRowDelegate::Background(const QPalette& palette, bool selected)
{
    return SystemColour(selected ? SysColour::Highlight : SysColour::Window, palette);
}

QColor COperatorRowDelegate::TextColour(const QPalette& palette, int column, bool selected)
{
    QColor wanted = SystemColour(SysColour::WindowText, palette);
    if (selected)
        wanted = SystemColour(SysColour::HighlightText, palette);
    else if (column == COperatorListModel::kStatusColumn)
        wanted = kStatusBlue;
    return ReadableOn(wanted, {Background(palette, selected)});
}

QList<CColourPair> COperatorRowDelegate::ColourPairs() const
{
    const auto* view = qobject_cast<const QWidget*>(parent());
    if (!view)
        return {};
    QList<CColourPair> pairs;
    const QPalette& palette = view->palette();
    for (const bool selected : {false, true}) {
        const QColor back = Background(palette, selected);
        const QString row = selected ? QStringLiteral("selected row: ") : QStringLiteral("row: ");
        pairs.append({row + QStringLiteral("name"),
                      TextColour(palette, COperatorListModel::kNameColumn, selected), back});
        pairs.append({row + QStringLiteral("status"),
                      TextColour(palette, COperatorListModel::kStatusColumn, selected), back});
        pairs.append({row + QStringLiteral("focus frame"), FocusFrameColour(palette, {back}), back,
                      kFrameContrast});
    }
    return pairs;
}

void COperatorRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                 const QModelIndex& index) const
{
    const QPalette& palette = option.palette;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    QRect rect = option.rect;

    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, Background(palette, selected));
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

    painter->setPen(TextColour(palette, index.column(), selected));
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
