#include "cut_off_tool_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

CCutOffToolTips::CCutOffToolTips(QAbstractItemView* view)
    : QObject(view), m_view(view), m_viewport(view->viewport())
{
    m_viewport->installEventFilter(this);
}

bool CCutOffToolTips::eventFilter(QObject* watched, QEvent* event)
{
    // The viewport outlives the view's own destructor and still sends events then, so nothing
    // of the view is asked before the event is known to be a tool tip of the viewport.
    if (event->type() != QEvent::ToolTip || watched != m_viewport)
        return false;
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex index = m_view->indexAt(help->pos());
    const QRect shown = m_view->visualRect(index).intersected(m_view->viewport()->rect());
    const int wanted = m_view->sizeHintForIndex(index).width();
    if (index.isValid() && wanted > shown.width()) {
        QToolTip::showText(help->globalPos(), index.data().toString(), m_view->viewport(), shown);
    } else {
        QToolTip::hideText();
    }
    return true;
}
