#include "tree_lines_style.h"

#include <QApplication>
#include <QPainter>
#include <QStyleOption>

namespace {

// Half the side of the expand button the lines stop short of.
constexpr int kButtonHalf = 5;

} // namespace

CTreeLinesStyle::CTreeLinesStyle() : QProxyStyle(QApplication::style()->name()) {}

void CTreeLinesStyle::drawPrimitive(PrimitiveElement element, const QStyleOption* option,
                                    QPainter* painter, const QWidget* widget) const
{
    if (element != PE_IndicatorBranch) {
        QProxyStyle::drawPrimitive(element, option, painter, widget);
        return;
    }
    const QRect& rect = option->rect;
    const int midX = rect.x() + rect.width() / 2;
    const int midY = rect.y() + rect.height() / 2;
    const int gap = option->state.testFlag(State_Children) ? kButtonHalf : 0;
    const QBrush dots(option->palette.color(QPalette::Dark), Qt::Dense4Pattern);
    if (option->state.testFlag(State_Item)) {
        if (option->direction == Qt::RightToLeft)
            painter->fillRect(rect.left(), midY, midX - gap - rect.left(), 1, dots);
        else
            painter->fillRect(midX + gap, midY, rect.right() - midX - gap + 1, 1, dots);
    }
    if (option->state.testFlag(State_Sibling))
        painter->fillRect(midX, midY + gap, 1, rect.bottom() - midY - gap + 1, dots);
    if (option->state & (State_Open | State_Children | State_Item | State_Sibling))
        painter->fillRect(midX, rect.y(), 1, midY - gap - rect.y(), dots);
    if (option->state.testFlag(State_Children))
        QProxyStyle::drawPrimitive(element, option, painter, widget);
}
