#include "visitor_row_delegate.h"

#include "contrast.h"
#include "focus_frame.h"
#include "shown_text.h"
#include "system_colour.h"
#include "visitor_list_model.h"

#include <QHeaderView>
#include <QHelpEvent>
#include <QPainter>
#include <QTableView>
#include <QToolTip>

namespace {

const QColor kInvitedRed(255, 0, 0);
const QColor kAddressBlue(0, 0, 255);
const QColor kIpGreen(0, 128, 0);

// A rectangle given by its edges, right and bottom excluded, as the row's layout is written.
QRect Edges(int left, int top, int right, int bottom)
{
    return QRect(left, top, right - left, bottom - top);
}

// The lines' top-left corners put them as drawText puts a line centred in a rectangle of
// lineHeight.
qreal LineTop(const QPainter* painter, qreal top, qreal lineHeight)
{
    return top + (lineHeight - QFontMetricsF(painter->font()).height()) / 2;
}

void DrawSingleLine(QPainter* painter, CRowTextCache& texts, const QRect& rect, const QString& text,
                    bool elide)
{
    if (rect.isEmpty() || !painter->clipBoundingRect().intersects(rect))
        return;
    const auto& lines =
        texts.Lines(text, painter->font(),
                    elide ? CRowTextCache::Fit::Elided : CRowTextCache::Fit::Whole, rect.width());
    painter->drawStaticText(QPointF(rect.left(), LineTop(painter, rect.top(), rect.height())),
                            lines.front());
}

// Right-aligned with any trailing blanks kept, so "5 minute(s) " keeps its gap at the edge.
void DrawRightAligned(QPainter* painter, CRowTextCache& texts, const QRect& rect,
                      const QString& text)
{
    if (rect.isEmpty() || !painter->clipBoundingRect().intersects(rect))
        return;
    const QStaticText& line =
        texts.Lines(text, painter->font(), CRowTextCache::Fit::Whole, rect.width()).front();
    const qreal advance = line.size().width();
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    painter->drawStaticText(
        QPointF(rect.left() + rect.width() - advance, LineTop(painter, rect.top(), rect.height())),
        line);
    painter->restore();
}

// Wrapped at word boundaries (anywhere inside a word longer than the line), as many whole lines
// as fit, the last of them ending with an ellipsis when text is left over; the block of lines
// is centred vertically.
void DrawWrapped(QPainter* painter, CRowTextCache& texts, const QRect& rect, const QString& text)
{
    if (rect.isEmpty() || text.isEmpty() || !painter->clipBoundingRect().intersects(rect))
        return;
    const int lineHeight = painter->fontMetrics().lineSpacing();
    const int maxLines = std::max(1, rect.height() / lineHeight);
    const auto& lines =
        texts.Lines(text, painter->font(), CRowTextCache::Fit::Wrapped, rect.width(), maxLines);
    int y = rect.top() + (rect.height() - static_cast<int>(lines.size()) * lineHeight) / 2;
    painter->save();
    painter->setClipRect(rect, Qt::IntersectClip);
    for (const QStaticText& line : lines) {
        painter->drawStaticText(QPointF(rect.left(), LineTop(painter, y, lineHeight)), line);
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

CVisitorRowDelegate::Look CVisitorRowDelegate::LookFor(const QPalette& palette, bool highlighted)
{
    Look look;
    look.background =
        SystemColour(highlighted ? SysColour::GradientInactiveCaption : SysColour::Window, palette);
    const auto readable = [&look](const QColor& wanted) {
        return ReadableOn(wanted, {look.background});
    };
    look.caption = readable(SystemColour(SysColour::WindowText, palette));
    look.invitedCaption = readable(kInvitedRed);
    look.address = readable(kAddressBlue);
    look.minutes = look.invitedCaption;
    look.ip = readable(kIpGreen);
    look.time = look.caption;
    look.grid = SystemColour(
        highlighted ? SysColour::Highlight : SysColour::GradientInactiveCaption, palette);
    look.focusFrame = FocusFrameColour(palette, {look.background});
    return look;
}

QList<CColourPair> CVisitorRowDelegate::ColourPairs() const
{
    const auto* view = qobject_cast<const QWidget*>(parent());
    if (!view)
        return {};
    QList<CColourPair> pairs;
    for (const bool highlighted : {false, true}) {
        const Look look = LookFor(view->palette(), highlighted);
        const QString row =
            highlighted ? QStringLiteral("selected row: ") : QStringLiteral("row: ");
        for (const auto& [what, colour] : {std::pair{"caption", look.caption},
                                           {"invited caption", look.invitedCaption},
                                           {"address", look.address},
                                           {"minutes", look.minutes},
                                           {"IP address", look.ip},
                                           {"time", look.time}})
            pairs.append({row + QLatin1String(what), colour, look.background});
        pairs.append({row + QStringLiteral("focus frame"), look.focusFrame, look.background,
                      kFrameContrast});
    }
    return pairs;
}

void CVisitorRowDelegate::PaintRow(QPainter* painter, const QStyleOptionViewItem& option,
                                   const QModelIndex& index, int w0, int w1) const
{
    const QRect bounds = option.rect;
    const int L = bounds.left();
    const int T = bounds.top();
    const int R = bounds.left() + bounds.width();
    const int B = bounds.top() + bounds.height();
    const Look look = LookFor(option.palette, option.state.testFlag(QStyle::State_Selected));

    painter->save();
    painter->setClipRect(bounds, Qt::IntersectClip);
    painter->fillRect(bounds, look.background);

    const QVariant id = index.isValid() ? index.data(CVisitorListModel::IdRole) : QVariant();
    if (id.isValid()) {
        const QFont normal = option.font;
        QFont bold = normal;
        bold.setWeight(QFont::Bold);
        painter->setFont(bold);
        painter->setPen(index.data(CVisitorListModel::InvitedRole).toBool() ? look.invitedCaption
                                                                            : look.caption);
        DrawSingleLine(painter, m_texts, Edges(L + 4, T + 2, L + 4 + w0 - 110, T + 16),
                       index.data(CVisitorListModel::CaptionRole).toString(), true);

        painter->setFont(normal);
        painter->setPen(look.address);
        DrawWrapped(painter, m_texts, Edges(L + 4, T + 19, L + w0 + 2, B),
                    index.data(CVisitorListModel::AddressRole).toString());

        painter->setFont(bold);
        painter->setPen(look.minutes);
        DrawRightAligned(painter, m_texts, Edges(L + w0 - 104, T, L + w0, T + 14),
                         MinutesText(index.data(CVisitorListModel::MinutesRole).toInt()));

        painter->setPen(look.ip);
        // Cut with an ellipsis where a stored width is narrower; the tool-tip has it whole.
        DrawSingleLine(painter, m_texts, Edges(L + w0 + 2, T, L + w0 + w1, T + 14), IpText(index),
                       true);

        painter->setFont(normal);
        painter->setPen(look.time);
        DrawWrapped(painter, m_texts, Edges(L + w0 + 2, T + 15, L + w0 + w1, B),
                    index.data(CVisitorListModel::TimeRole).toString());
    }

    painter->setPen(QPen(look.grid, 1));
    painter->drawLine(L, B - 1, R - 1, B - 1);
    painter->drawLine(R - 1, T, R - 1, B - 1);
    if (option.state.testFlag(QStyle::State_HasFocus))
        DrawFocusFrame(*painter, bounds, option.palette, {look.background});
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
    return QFontMetrics(bold).horizontalAdvance(tr("IP: ") + QStringLiteral("255.255.255.255")) + 8;
}

bool CVisitorRowDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                    const QStyleOptionViewItem& option, const QModelIndex& index)
{
    const auto* table = qobject_cast<const QTableView*>(view);
    if (event->type() != QEvent::ToolTip || !table || !index.isValid())
        return QStyledItemDelegate::helpEvent(event, view, option, index);
    const QModelIndex row = index.siblingAtColumn(CVisitorListModel::kGroupColumn);
    const QHeaderView* columns = table->horizontalHeader();
    const int ipLeft = columns->sectionViewportPosition(CVisitorListModel::kInfoColumn);
    const int ipWidth = columns->sectionSize(CVisitorListModel::kInfoColumn);
    const QRect rowRect = table->visualRect(row);
    const QRect ipRect(ipLeft, rowRect.top(), ipWidth, 15);
    QFont bold = option.font;
    bold.setWeight(QFont::Bold);
    const QString ip = IpText(row);
    if (ipRect.contains(event->pos()) && QFontMetrics(bold).horizontalAdvance(ip) > ipWidth - 2) {
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
    const auto* table = qobject_cast<const QTableView*>(option.widget);
    if (!table) {
        if (index.column() == CVisitorListModel::kGroupColumn)
            PaintRow(painter, option, index, option.rect.width(), 0);
        return;
    }
    // Each cell copies its part of the row's picture: a cell may be repainted alone.
    const QHeaderView* columns = table->horizontalHeader();
    const QModelIndex first = index.siblingAtColumn(CVisitorListModel::kGroupColumn);
    const int w0 = columns->sectionSize(CVisitorListModel::kGroupColumn);
    const int w1 = columns->sectionSize(CVisitorListModel::kInfoColumn);
    const QSize size(columns->length(), option.rect.height());
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    // The whole row is framed while it holds the current cell and the list has the focus.
    const bool focused = table->hasFocus() && table->currentIndex().row() == index.row();
    const QString key =
        QStringList{first.data(CVisitorListModel::IdRole).toString(),
                    first.data(CVisitorListModel::CaptionRole).toString(),
                    first.data(CVisitorListModel::AddressRole).toString(),
                    first.data(CVisitorListModel::IpRole).toString(),
                    first.data(CVisitorListModel::TimeRole).toString(),
                    first.data(CVisitorListModel::MinutesRole).toString(),
                    QString::number(first.data(CVisitorListModel::InvitedRole).toBool()),
                    QString::number(selected),
                    QString::number(focused),
                    QString::number(w0),
                    QString::number(w1),
                    QString::number(size.width()),
                    QString::number(size.height()),
                    QString::number(option.palette.cacheKey()),
                    QString::number(qHash(option.font))}
            .join(QChar(0));
    const qreal ratio = painter->device()->devicePixelRatioF();
    const QPixmap& picture = m_pictures.Picture(key, size, ratio, [&](QPainter& canvas) {
        QStyleOptionViewItem row = option;
        row.rect = QRect(QPoint(0, 0), size);
        row.state.setFlag(QStyle::State_HasFocus, focused);
        PaintRow(&canvas, row, first, w0, w1);
    });
    const int x = option.rect.left() + columns->offset();
    painter->drawPixmap(
        QPointF(option.rect.topLeft()), picture,
        QRectF(x * ratio, 0, option.rect.width() * ratio, option.rect.height() * ratio));
}

QSize CVisitorRowDelegate::sizeHint(const QStyleOptionViewItem& option,
                                    const QModelIndex& index) const
{
    Q_UNUSED(index);
    return QSize(option.rect.width(), kRowHeight);
}
