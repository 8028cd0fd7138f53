#include "operator_row_delegate.h"

#include "contrast.h"
#include "focus_frame.h"
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
        if (image >= 0 && image < static_cast<int>(m_images.size())) {
            painter->drawPixmap(rect.left(), rect.top() + (rect.height() - kImageSize) / 2,
                                m_images[static_cast<std::size_t>(image)]);
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
