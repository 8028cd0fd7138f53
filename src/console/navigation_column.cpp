#include "navigation_column.h"

#include "active_chats.h"
#include "active_chats_view.h"
#include "dialog_units.h"
#include "gradient_button.h"
#include "gradient_label.h"

#include <QVBoxLayout>

CNavigationColumn::CNavigationColumn(QWidget* parent)
    : QWidget(parent), m_panel(new CGradientLabel(QString(), this)),
      m_heading(new CGradientLabel(tr("View"), this))
{
    m_panel->SetColours(SysColour::ButtonHighlight, SysColour::ButtonHighlight,
                        SysColour::CaptionText);
    m_heading->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                          SysColour::HighlightText);

    // The panel lies behind the column and takes its whole size; it is no item of the layout.
    m_panel->lower();

    const CDialogUnits units(font());
    setFixedWidth(units.X(75));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    // In the design the buttons overlap by one unit, so that their frames meet in one line.
    column->setSpacing(0);
    m_heading->setFixedHeight(units.Y(15));
    column->addWidget(m_heading);
    m_visitors = AddButton(tr("Website Visitors"));
    m_operators = AddButton(tr("Website Operators"));
    m_reports = AddButton(tr("Website Reports"));
    m_account = AddButton(tr("Account Settings"));
    m_tutorial = AddButton(tr("Quick Tutorial      "));
    column->addStretch(1);
}

void CNavigationColumn::AddActiveChats(CActiveChats& chats)
{
    // Below the buttons, where the column had only its panel: the chats open now.
    auto* column = static_cast<QVBoxLayout*>(layout());
    delete column->takeAt(column->count() - 1); // the stretch
    const CDialogUnits units(font());
    column->addSpacing(units.Y(4));
    auto* heading = new CGradientLabel(tr("Active chats"), this);
    heading->setObjectName(QStringLiteral("activeChatsHeading"));
    heading->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                        SysColour::HighlightText);
    heading->setFixedHeight(units.Y(15));
    column->addWidget(heading);
    auto* list = new CActiveChatsView(chats, this);
    column->addWidget(list, 1);
    // Shown only while there are chats; the panel fills the column otherwise.
    const auto showWhenAny = [heading, list, &chats] {
        heading->setVisible(chats.Count() > 0);
        list->setVisible(chats.Count() > 0);
    };
    connect(&chats, &QAbstractItemModel::rowsInserted, this, showWhenAny);
    connect(&chats, &QAbstractItemModel::rowsRemoved, this, showWhenAny);
    showWhenAny();
    column->addStretch(0);
}

CGradientButton* CNavigationColumn::AddButton(const QString& text)
{
    auto* button = new CGradientButton(text, this);
    button->SetColours(CThemeColour(SysColour::Light3D, 255),
                       CThemeColour(SysColour::GradientInactiveCaption, 255),
                       CThemeColour(SysColour::ActiveCaption, 220));
    button->SetHover(true);
    button->setFixedHeight(CDialogUnits(font()).Y(15));
    layout()->addWidget(button);
    return button;
}

void CNavigationColumn::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    m_panel->setGeometry(rect());
}
