#include "operator_row_delegate.h"

#include "colour_math.h"
#include "desktop_theme.h"
#include "operator_list_model.h"
#include "system_colour.h"

#include <QBitmap>
#include <QPainter>

namespace {

const QColor kStatusBlue(0, 0, 255);
const QColor kMaskColour(255, 0, 255); // the image strip's background

std::vector<QPixmap> LoadImageList()
{
    const QImage strip(QStringLiteral(":/ui/operator-states.png"));
    std::vector<QPixmap> images;
    const int size = COperatorRowDelegate::kImageSize;
    for (int x = 0; x + size <= strip.width(); x += size) {
        QPixmap image = QPixmap::fromImage(strip.copy(x, 0, size, size));
        image.setMask(image.createMaskFromColor(kMaskColour, Qt::MaskInColor));
        images.push_back(image);
    }
    return images;
}

} // namespace

COperatorRowDelegate::COperatorRowDelegate(QObject* parent)
    : QStyledItemDelegate(parent), m_images(LoadImageList())
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
        if (image >= 0 && image < static_cast<int>(m_images.size())) {
            painter->drawPixmap(rect.left(), rect.top() + (rect.height() - kImageSize) / 2,
                                m_images[static_cast<std::size_t>(image)]);
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
