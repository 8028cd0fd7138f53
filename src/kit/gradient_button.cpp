#include "gradient_button.h"

#include "classic_frame.h"
#include "focus_frame.h"
#include "system_colour.h"

#include <QCursor>
#include <QEnterEvent>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>

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

QColor CGradientButton::Opaque(const CThemeColour& colour) const
{
    return Over(colour.Resolve(palette()), SystemColour(SysColour::ButtonFace, palette()));
}

CTextOnFaces CGradientButton::Painted() const
{
    // One text colour for every state, so the caption does not flicker as the pointer passes.
    return ReadableTextOnFaces(m_textColour.Resolve(palette()),
                               {Opaque(m_top), Opaque(m_bottom), Opaque(m_hoverColour)});
}

QList<CColourPair> CGradientButton::ColourPairs() const
{
    const QString name = QString(text()).remove(QLatin1Char('&'));
    const CTextOnFaces painted = Painted();
    const QColor frame = FocusFrameColour(palette(), painted.faces);
    QList<CColourPair> pairs;
    for (const QColor& face : painted.faces) {
        pairs.append({name, painted.text, face});
        pairs.append({name + QStringLiteral(" focus frame"), frame, face, kFrameContrast});
    }
    return pairs;
}

QSize CGradientButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.size(Qt::TextShowMnemonic, text()).width() + 2 * kTextIndent,
            metrics.height() + 10};
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

    const CTextOnFaces painted = Painted();
    QColor top = painted.faces.at(0);
    QColor bottom = painted.faces.at(m_hover && m_over ? 2 : 1);
    if (!enabled)
        bottom = SystemColour(SysColour::ButtonFace, pal);
    else if (down)
        std::swap(top, bottom);
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, top);
    gradient.setColorAt(1.0, bottom);
    painter.fillRect(face, gradient);

    painter.setPen(enabled ? painted.text : SystemColour(SysColour::GrayText, pal));
    const QRect textRect = rect().adjusted(kTextIndent, 0, 0, 0);
    const int mnemonic = style()->styleHint(QStyle::SH_UnderlineShortcut, nullptr, this)
                             ? Qt::TextShowMnemonic
                             : Qt::TextHideMnemonic;
    painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | mnemonic,
                     text());

    if (hasFocus())
        DrawFocusFrame(painter, face, pal, painted.faces);
}
