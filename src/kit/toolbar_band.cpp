#include "toolbar_band.h"

#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "system_colour.h"
#include "toolbar_button.h"

#include <QHBoxLayout>
#include <algorithm>

CToolbarBand::CToolbarBand(QWidget* parent)
    : QWidget(parent), m_band(new CGradientLabel(QString(), this)), m_row(new QHBoxLayout(this))
{
    // The band lies behind the buttons and takes the toolbar's whole size; it is no item of the
    // layout, whose size is the buttons'.
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
}

void CToolbarBand::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_band->setGeometry(rect());
}
