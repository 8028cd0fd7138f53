#include "gradient_button.h"

#include "classic_frame.h"
#include "system_colour.h"

#include <QCursor>
#include <QEnterEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>

CGradientButton::CGradientButton(const QString& text, QWidget* parent) : QAbstractButton(parent)
{
    setText(text);
    m_theme.Attach(this);
    m_hoverCheck.setInterval(kHoverCheckMs);
    connect(&m_hoverCheck, &QTimer::timeout, this, &CGradientButton::OnHoverCheck);
}

void CGradientButton::SetColours(const CThemeColour& top, const CThemeColour& bottom,
                                 const CThemeColour& hover)
{
    m_top = top;
    m_bottom = bottom;
    m_hoverColour = hover;
    update();
}

void CGradientButton::SetTextColour(const CThemeColour& colour)
{
    m_textColour = colour;
    update();
}

void CGradientButton::SetHover(bool hover)
{
    m_hover = hover;
    setMouseTracking(hover);
    if (!hover) {
        m_hoverCheck.stop();
        m_over = false;
    }
    update();
}

void CGradientButton::SetUseTheme(bool useTheme)
{
    m_useTheme = useTheme;
    update();
}

QSize CGradientButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(text()) + 2 * kTextIndent, metrics.height() + 10};
}

QSize CGradientButton::minimumSizeHint() const
{
    return {2 * kTextIndent, fontMetrics().height() + 4};
}

void CGradientButton::OnMouseAt(bool inside)
{
    if (!m_hover || inside == m_over)
        return;
    m_over = inside;
    repaint();
    m_hoverCheck.start();
}

void CGradientButton::OnHoverCheck()
{
    const bool inside = isVisible() && rect().contains(mapFromGlobal(QCursor::pos()));
    if (inside == m_over)
        return;
    m_over = inside;
    m_hoverCheck.stop();
    repaint();
}

void CGradientButton::enterEvent(QEnterEvent*)
{
    OnMouseAt(true);
}

void CGradientButton::leaveEvent(QEvent*)
{
    if (!m_hover || !m_over)
        return;
    m_over = false;
    m_hoverCheck.stop();
    repaint();
}

void CGradientButton::mouseMoveEvent(QMouseEvent* event)
{
    OnMouseAt(rect().contains(event->position().toPoint()));
    QAbstractButton::mouseMoveEvent(event);
}

void CGradientButton::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::EnabledChange && !isEnabled()) {
        m_over = false;
        m_hoverCheck.stop();
    }
    QAbstractButton::changeEvent(event);
}

void CGradientButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QPalette& pal = palette();
    const bool enabled = isEnabled();
    const bool down = isDown() || (isCheckable() && isChecked());

    QRect face;
    if (m_useTheme && m_theme.IsThemed()) {
        const auto state = !enabled ? CThemeHelper::State::Disabled
                           : down   ? CThemeHelper::State::Pressed
                           : m_over ? CThemeHelper::State::Hot
                                    : CThemeHelper::State::Normal;
        m_theme.DrawThemedBackground(painter, CThemeHelper::Part::PushButton, state, rect(),
                                     rect());
        face = m_theme.ContentRect(CThemeHelper::Part::PushButton, state, rect());
    } else {
        face = DrawFlatButtonFrame(painter, rect(), pal, down, enabled);
    }

    QColor top = m_top.Resolve(pal);
    QColor bottom = (m_hover && m_over ? m_hoverColour : m_bottom).Resolve(pal);
    if (!enabled)
        bottom = SystemColour(SysColour::ButtonFace, pal);
    else if (down)
        std::swap(top, bottom);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    painter.fillRect(face, gradient);

    painter.setPen(enabled ? m_textColour.Resolve(pal) : SystemColour(SysColour::GrayText, pal));
    const QRect textRect = rect().adjusted(kTextIndent, 0, 0, 0);
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());

    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        focus.rect = face.adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
    }
}
