#include "toolbar_band.h"

#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "system_colour.h"
#include "toolbar_button.h"

#include <QHBoxLayout>
#include <algorithm>

CToolbarBand::CToolbarBand(QWidget* parent)
    : QWidget(parent), m_band(new CGradientLabel(QString(), this)), m_strip(new QWidget(this)),
      m_row(new QHBoxLayout(m_strip))
{
    // The band lies behind the buttons and takes the toolbar's whole size. The buttons sit on a
    // strip of their own, which keeps the width they need: a layout given less than its fixed
    // widgets need lays them over one another.
    m_band->SetColours(SysColour::ScrollBar, SysColour::ScrollBar, SysColour::CaptionText);
    m_band->lower();
    // A narrow window cuts the row off on the right rather than being held as wide as it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    const CDialogUnits units(font());
    m_row->setContentsMargins(units.X(2), units.Y(2), units.X(2), units.Y(2));
    m_row->setSpacing(units.X(1));
    m_row->setSizeConstraint(QLayout::SetNoConstraint);
}

CFlatButton* CToolbarBand::AddButton(const QString& caption, const QString& picture,
                                     const QString& name)
{
    auto* button = new CFlatButton(caption, this);
    button->setObjectName(name);
    SetUpToolbarButton(*button, picture);
    const CDialogUnits units(font());
    const QSize hint = button->sizeHint();
    button->setFixedSize(hint.width(), std::max(units.Y(15), hint.height()));
    m_row->addWidget(button);
    return button;
}

void CToolbarBand::Finish()
{
    m_row->addStretch(1);
    updateGeometry(); // the band's size is the strip's, which its own layout does not tell
}

QSize CToolbarBand::sizeHint() const
{
    return m_strip->sizeHint();
}

void CToolbarBand::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_band->setGeometry(rect());
    // Wider than the band when the window is narrow: the band cuts it off at the right.
    m_strip->setGeometry(0, 0, std::max(width(), m_strip->sizeHint().width()), height());
}
