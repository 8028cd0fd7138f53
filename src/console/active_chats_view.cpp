#include "active_chats_view.h"

#include "active_chats.h"

#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// Two lines a chat: the name (bold while something is unseen) with the unseen count at the right,
// then what the visitor is doing and how long ago the visitor wrote, in a quieter colour.
class CActiveChatDelegate final : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override
    {
        QStyleOptionViewItem cell = option;
        initStyleOption(&cell, index);
        cell.text.clear();
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : nullptr;
        if (style)
            style->drawControl(QStyle::CE_ItemViewItem, &cell, painter, widget);

        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const QPalette& palette = option.palette;
        const QColor text = palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
        QColor quiet = text;
        quiet.setAlphaF(0.7f);
        const int unread = index.data(CActiveChats::UnreadRole).toInt();
        const QRect area = option.rect.adjusted(4, 2, -4, -2);
        const int lineHeight = option.fontMetrics.height();

        painter->save();
        QFont name = option.font;
        name.setBold(unread > 0);
        painter->setFont(name);
        painter->setPen(text);
        QRect top(area.left(), area.top(), area.width(), lineHeight);
        if (unread > 0) {
            const QString count = QString::number(unread);
            const int badge = QFontMetrics(name).horizontalAdvance(count) + 8;
            const QRect badgeRect(top.right() - badge + 1, top.top(), badge, lineHeight);
            painter->setBrush(palette.color(QPalette::Highlight));
            painter->setPen(Qt::NoPen);
            painter->drawRoundedRect(badgeRect, lineHeight / 2.0, lineHeight / 2.0);
            painter->setPen(palette.color(QPalette::HighlightedText));
            painter->drawText(badgeRect, Qt::AlignCenter, count);
            painter->setPen(text);
            top.setRight(badgeRect.left() - 4);
        }
        const QString shownName = QFontMetrics(name).elidedText(
            index.data(Qt::DisplayRole).toString().section(QStringLiteral(", "), 0, 0),
            Qt::ElideRight, top.width());
        painter->drawText(top, Qt::AlignLeft | Qt::AlignVCenter, shownName);

        QString state;
        if (index.data(CActiveChats::EndedRole).toBool())
            state = CActiveChats::tr("ended");
        else if (index.data(CActiveChats::TypingRole).toBool())
            state = CActiveChats::tr("typing...");
        const QString waited = index.data(CActiveChats::WaitedRole).toString();
        painter->setFont(option.font);
        painter->setPen(quiet);
        const QRect bottom(area.left(), top.bottom() + 1, area.width(), lineHeight);
        painter->drawText(bottom, Qt::AlignLeft | Qt::AlignVCenter, state);
        painter->drawText(bottom, Qt::AlignRight | Qt::AlignVCenter, waited);
        painter->restore();
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const override
    {
        return {option.rect.width(), option.fontMetrics.height() * 2 + 6};
    }
};

} // namespace

CActiveChatsView::CActiveChatsView(CActiveChats& chats, QWidget* parent)
    : QListView(parent), m_chats(chats)
{
    setObjectName(QStringLiteral("activeChats"));
    setAccessibleName(tr("Active chats"));
    setModel(&chats);
    setItemDelegate(new CActiveChatDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setUniformItemSizes(true);
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QAbstractItemView::activated, this,
            [this](const QModelIndex& index) { m_chats.ActivateAt(index.row()); });
    connect(this, &QAbstractItemView::clicked, this,
            [this](const QModelIndex& index) { m_chats.ActivateAt(index.row()); });
}

QSize CActiveChatsView::sizeHint() const
{
    return {QListView::sizeHint().width(), fontMetrics().height() * 8};
}
