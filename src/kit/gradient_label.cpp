#include "gradient_label.h"

#include "classic_frame.h"
#include "contrast.h"

#include <QLinearGradient>
#include <QPainter>

CGradientLabel::CGradientLabel(const QString& text, QWidget* parent) : QWidget(parent), m_text(text)
{
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

void CGradientLabel::SetText(const QString& text)
{
    m_text = text;
    updateGeometry();
    update();
}

void CGradientLabel::SetColours(const CThemeColour& top, const CThemeColour& bottom,
                                const CThemeColour& text)
{
    m_top = top;
    m_bottom = bottom;
    m_textColour = text;
    update();
}

void CGradientLabel::SetTopColour(const CThemeColour& colour)
{
    m_top = colour;
    update();
}

void CGradientLabel::SetBottomColour(const CThemeColour& colour)
{
    m_bottom = colour;
    update();
}

void CGradientLabel::SetTextColour(const CThemeColour& colour)
{
    m_textColour = colour;
    update();
}

void CGradientLabel::SetCentred(bool centred)
{
    m_centred = centred;
    update();
}

CTextOnFaces CGradientLabel::Painted() const
{
    const QColor top = m_top.Resolve(palette());
    const QColor bottom = m_bottom.Resolve(palette());
    // A band without text keeps its colours as they were asked for.
    if (m_text.isEmpty())
        return {m_textColour.Resolve(palette()), {top, bottom}};
    return ReadableTextOnFaces(m_textColour.Resolve(palette()), {top, bottom});
}

QList<CColourPair> CGradientLabel::ColourPairs() const
{
    if (m_text.isEmpty())
        return {};
    const CTextOnFaces painted = Painted();
    return {{m_text + QStringLiteral(" on top"), painted.text, painted.faces.at(0)},
            {m_text + QStringLiteral(" on bottom"), painted.text, painted.faces.at(1)}};
}

QSize CGradientLabel::sizeHint() const
{
    const QFontMetrics metrics(font());
    return {metrics.horizontalAdvance(m_text) + 2 * kLeftMargin + 2, metrics.height() + 8};
}

QSize CGradientLabel::minimumSizeHint() const
{
    return {2 * kLeftMargin, fontMetrics().height() + 4};
}

void CGradientLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect face = DrawFlatButtonFrame(painter, rect(), palette(), false, true);

    const CTextOnFaces painted = Painted();
    QLinearGradient gradient(face.topLeft(), face.bottomLeft());
    gradient.setColorAt(0.0, painted.faces.at(0));
    gradient.setColorAt(1.0, painted.faces.at(1));
    painter.fillRect(face, gradient);

    if (m_text.isEmpty())
        return;
    painter.setPen(painted.text);
    if (m_centred) {
        painter.drawText(face, Qt::AlignCenter | Qt::TextSingleLine, m_text);
    } else {
        // The margin counts from the control's edge, not from inside the frame.
        const QRect textRect = face.adjusted(kLeftMargin - 1, 0, 0, 0);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_text);
    }
}
