#include "visitor_row_delegate.h"

#include "colour_math.h"
#include "desktop_theme.h"
#include "system_colour.h"
#include "shown_text.h"
#include "visitor_list_model.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <QTextLayout>
#include <QTreeView>

namespace {

const QColor kInvitedRed(255, 0, 0);
const QColor kAddressBlue(0, 0, 255);
const QColor kIpGreen(0, 128, 0);

// A rectangle given by its edges, right and bottom excluded, as the row's layout is written.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The fixed colours of the row are chosen for a light window; on a dark one they are brought
// towards white so that they stay readable and keep their hue.
QColor Readable(const QColor& fixed, const QPalette& palette)
{
    return IsDarkPalette(palette) ? Lighten(fixed, 0.45) : fixed;
}

void DrawSingleLine(QPainter* painter, const QRect& rect, const QString& text, bool elide)
{
    if (rect.isEmpty())
        return;
    const QString shown =
        elide ? painter->fontMetrics().elidedText(text, Qt::ElideRight, rect.width()) : text;
    painter->drawText(rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, shown);
}

// Right-aligned with any trailing blanks kept, so "5 minute(s) " keeps its gap at the edge.
void DrawRightAligned(QPainter* painter, const QRect& rect, const QString& text)
{
    if (rect.isEmpty())
        return;
    const int advance = painter->fontMetrics().horizontalAdvance(text);
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->drawText(
        QRect(rect.left() + rect.width() - advance, rect.top(), advance, rect.height()),
        Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text);
    painter->restore();
}

// Wrapped at word boundaries (anywhere inside a word longer than the line), as many whole lines
// as fit, the last of them ending with an ellipsis when text is left over; the block of lines
// is centred vertically.
void DrawWrapped(QPainter* painter, const QRect& rect, const QString& text)
{
    if (rect.isEmpty() || text.isEmpty())
        return;
    const QFontMetrics metrics = painter->fontMetrics();
    const int lineHeight = metrics.lineSpacing();
    const int maxLines = std::max(1, rect.height() / lineHeight);

    QStringList lines;
    QTextLayout layout(text, painter->font());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(rect.width());
        if (lines.size() == maxLines - 1) {
            const QString rest = text.mid(line.textStart()).simplified();
            lines.append(metrics.elidedText(rest, Qt::ElideRight, rect.width()));
            break;
        }
        lines.append(text.mid(line.textStart(), line.textLength()).trimmed());
    }
    layout.endLayout();

    int y = rect.top() + (rect.height() - static_cast<int>(lines.size()) * lineHeight) / 2;
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    for (const QString& line : lines) {
        painter->drawText(QRect(rect.left(), y, rect.width(), lineHeight),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += lineHeight;
    }
    painter->restore();
}

} // namespace

CVisitorRowDelegate::CVisitorRowDelegate(QObject* parent) : QStyledItemDelegate(parent) {}

QString CVisitorRowDelegate::MinutesText(int minutes)
{
    return tr("%n minute(s)", nullptr, minutes) + QLatin1Char(' ');
}

void CVisitorRowDelegate::PaintRow(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index, int w0, int w1) const
{
    const QRect bounds = option.rect;
    const int L = bounds.left();
    const int T = bounds.top();
    const int R = bounds.left() + bounds.width();
    const int B = bounds.top() + bounds.height();
    const QPalette& palette = option.palette;
    const bool highlighted = option.state.testFlag(QStyle::State_Selected);

    painter->save();
    painter->setClipRect(bounds);
    painter->fillRect(
        bounds, SystemColour(highlighted ? SysColour::GradientInactiveCaption : SysColour::Window,
                             palette));

    const QVariant id = index.isValid() ? index.data(CVisitorListModel::IdRole) : QVariant();
    if (id.isValid()) {
        const QFont normal = option.font;
        QFont bold = normal;
        bold.setWeight(QFont::Bold);
        const QColor windowText = SystemColour(SysColour::WindowText, palette);
        const QColor red = Readable(kInvitedRed, palette);

        painter->setFont(bold);
        painter->setPen(index.data(CVisitorListModel::InvitedRole).toBool() ? red : windowText);
        DrawSingleLine(painter, Edges(L + 4, T + 2, L + 4 + w0 - 110, T + 16),
                       index.data(CVisitorListModel::CaptionRole).toString(), true);

        painter->setFont(normal);
        painter->setPen(Readable(kAddressBlue, palette));
        DrawWrapped(painter, Edges(L + 4, T + 19, L + w0 + 2, B),
                    index.data(CVisitorListModel::AddressRole).toString());

        painter->setFont(bold);
        painter->setPen(red);
        DrawRightAligned(painter, Edges(L + w0 - 104, T, L + w0, T + 14),
                         MinutesText(index.data(CVisitorListModel::MinutesRole).toInt()));

        painter->setPen(Readable(kIpGreen, palette));
        // Cut with an ellipsis where a stored width is narrower; the tool-tip has it whole.
        DrawSingleLine(painter, Edges(L + w0 + 2, T, L + w0 + w1, T + 14),
                       IpText(index), true);

        painter->setFont(normal);
        painter->setPen(windowText);
        DrawWrapped(painter, Edges(L + w0 + 2, T + 15, L + w0 + w1, B),
                    index.data(CVisitorListModel::TimeRole).toString());
    }

    painter->setPen(
        QPen(SystemColour(highlighted ? SysColour::Highlight : SysColour::GradientInactiveCaption,
                          palette),
             1));
    painter->drawLine(L, B - 1, R - 1, B - 1);
    painter->drawLine(R - 1, T, R - 1, B - 1);
    painter->restore();
}

QString CVisitorRowDelegate::IpText(const QModelIndex& index)
{
    return tr("IP: ") + index.data(CVisitorListModel::IpRole).toString();
}

int CVisitorRowDelegate::IpColumnWidth(const QFont& font)
{
    QFont bold = font;
    bold.setWeight(QFont::Bold);
    // The longest address the column shows in full, and the gaps the row keeps around it.
    return QFontMetrics(bold).horizontalAdvance(tr("IP: ") + QStringLiteral("255.255.255.255")) +
           8;
}

bool CVisitorRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const auto* tree = qobject_cast<const QTreeView*>(view);
    if (event->type() != QEvent::ToolTip || !tree || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QModelIndex row = index.siblingAtColumn(CVisitorListModel::kGroupColumn);
    const int ipLeft = tree->header()->sectionViewportPosition(CVisitorListModel::kInfoColumn);
    const int ipWidth = tree->header()->sectionSize(CVisitorListModel::kInfoColumn);
    const QRect rowRect = tree->visualRect(row);
    const QRect ipRect(ipLeft, rowRect.top(), ipWidth, 15);
    QFont bold = option.font;
    bold.setWeight(QFont::Bold);
    const QString ip = IpText(row);
    if (ipRect.contains(event->pos()) &&
        QFontMetrics(bold).horizontalAdvance(ip) > ipWidth - 2) {
        QToolTip::showText(event->globalPos(), PlainToolTip(ip), view->viewport(), ipRect);
        return true;
    }
    QToolTip::hideText();
    event->ignore();
    return true;
}

void CVisitorRowDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                                const QModelIndex& index) const
{
    if (index.column() != CVisitorListModel::kGroupColumn)
        return;
    int w0 = option.rect.width();
    int w1 = 0;
    if (const auto* view = qobject_cast<const QTreeView*>(option.widget)) {
        w0 = view->header()->sectionSize(CVisitorListModel::kGroupColumn);
        w1 = view->header()->sectionSize(CVisitorListModel::kInfoColumn);
    }
    PaintRow(painter, option, index, w0, w1);
}

QSize CVisitorRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    Q_UNUSED(index);
    return QSize(option.rect.width(), kRowHeight);
}
