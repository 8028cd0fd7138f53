#include "toolbar_band.h"

#include "dialog_units.h"
#include "flat_button.h"
#include "gradient_label.h"
#include "system_colour.h"
#include "toolbar_button.h"

#include <QHBoxLayout>
#include <algorithm>

CToolbarBand::CToolbarBand(QWidget* parent)
    : QWidget(parent), m_band(new CGradientLabel(QString(), this)), m_row(new QWidget(this)),
      m_rowLayout(new QHBoxLayout(m_row))
{
    m_band->SetColours(SysColour::ScrollBar, SysColour::ScrollBar, SysColour::CaptionText);
    // A narrow window cuts the row off on the right rather than being held as wide as it.
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);

    const CDialogUnits units(font());
    m_rowLayout->setContentsMargins(units.X(2), units.Y(2), units.X(2), units.Y(2));
    m_rowLayout->setSpacing(units.X(1));
    m_rowLayout->addStretch(1); // the buttons go before it, packed to the left
}

CFlatButton* CToolbarBand::AddButton(const QString& caption, const QString& picture,
                                     const QString& name)
{
    auto* button = new CFlatButton(caption, m_row);
    button->setObjectName(name);
    SetUpToolbarButton(*button, picture);
    const CDialogUnits units(font());
    button->setFixedHeight(std::max(units.Y(15), button->sizeHint().height()));
    m_rowLayout->insertWidget(m_rowLayout->count() - 1, button);
    return button;
}

int CToolbarBand::RowWidth() const
{
    return m_row->sizeHint().width();
}

QSize CToolbarBand::sizeHint() const
{
    return m_row->sizeHint();
}

QSize CToolbarBand::minimumSizeHint() const
{
    return {0, m_row->sizeHint().height()};
}

void CToolbarBand::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_band->setGeometry(rect());
    m_row->setGeometry(0, 0, std::max(width(), RowWidth()), height());
}
