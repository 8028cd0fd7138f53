#include "theme_helper.h"

#include "desktop_theme.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QWidget>

namespace {

QStyleOptionButton ButtonOption(const QWidget* widget, CThemeHelper::State state, const QRect& rect)
{
    QStyleOptionButton option;
    option.initFrom(widget);
    option.rect = rect;
    option.state &= ~(QStyle::State_MouseOver | QStyle::State_Sunken | QStyle::State_HasFocus);
    option.state |= QStyle::State_Enabled | QStyle::State_Raised;
    switch (state) {
    case CThemeHelper::State::Normal:
        break;
    case CThemeHelper::State::Hot:
        option.state |= QStyle::State_MouseOver;
        break;
    case CThemeHelper::State::Pressed:
        option.state &= ~QStyle::State_Raised;
        option.state |= QStyle::State_Sunken;
        break;
    case CThemeHelper::State::Disabled:
        option.state &= ~QStyle::State_Enabled;
        option.palette.setCurrentColorGroup(QPalette::Disabled);
        break;
    case CThemeHelper::State::Default:
        option.features |= QStyleOptionButton::DefaultButton;
        break;
    }
    return option;
}

} // namespace

void CThemeHelper::Attach(QWidget* widget)
{
    m_widget = widget;
}

bool CThemeHelper::IsThemed() const
{
    return m_widget && !IsClassicStyle(m_widget->style());
}

void CThemeHelper::DrawThemedBackground(QPainter& painter, Part part, State state,
                                        const QRect& rect, const QRect& clip) const
{
    if (!IsThemed() || part != Part::PushButton)
        return;
    const QStyleOptionButton option = ButtonOption(m_widget, state, rect);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    m_widget->style()->drawPrimitive(QStyle::PE_PanelButtonCommand, &option, &painter, m_widget);
    painter.restore();
}

QRect CThemeHelper::ContentRect(Part part, State state, const QRect& rect) const
{
    if (!IsThemed() || part != Part::PushButton)
        return rect;
    const QStyleOptionButton option = ButtonOption(m_widget, state, rect);
    const int frame =
        m_widget->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, m_widget);
    return rect.adjusted(frame, frame, -frame, -frame);
}
