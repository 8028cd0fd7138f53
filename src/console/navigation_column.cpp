#include "navigation_column.h"

#include "dialog_units.h"
#include "gradient_button.h"
#include "gradient_label.h"

#include <QAbstractItemView>
#include <QVBoxLayout>

CNavigationColumn::CNavigationColumn(QWidget* parent)
    : QWidget(parent), m_panel(new CGradientLabel(QString(), this)),
      m_heading(new CGradientLabel(tr("View"), this))
{
    m_panel->SetColours(SysColour::ButtonHighlight, SysColour::ButtonHighlight,
                        SysColour::CaptionText);
    m_heading->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                          SysColour::HighlightText);
    m_heading->setAccessibleName(tr("View"));

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
    m_visitors = AddButton(tr("Website &Visitors"));
    m_operators = AddButton(tr("Website O&perators"));
    m_missed = AddButton(tr("&Missed Chats"));
    m_history = AddButton(tr("Chat &History"));
    m_reports = AddButton(tr("Website &Reports"));
    m_account = AddButton(tr("Acco&unt Settings"));
    m_tutorial = AddButton(tr("&Quick Tutorial      "));
    column->addStretch(1);
}

void CNavigationColumn::AddListSection(const QString& heading, QAbstractItemView* list)
{
    // Below the buttons, where the column had only its panel; shown while its list has rows.
    auto* column = static_cast<QVBoxLayout*>(layout());
    const CDialogUnits units(font());
    auto* caption = new CGradientLabel(heading, this);
    caption->setObjectName(list->objectName() + QStringLiteral("Heading"));
    caption->SetColours(SysColour::ActiveCaption, SysColour::GradientActiveCaption,
                        SysColour::HighlightText);
    caption->setFixedHeight(units.Y(15));
    list->setParent(this);
    // Before the stretch that ends the column.
    const int at = column->count() - 1;
    column->insertWidget(at, caption);
    column->insertWidget(at + 1, list, 1);
    QAbstractItemModel* model = list->model();
    const auto showWhenAny = [caption, list, model] {
        const bool any = model->rowCount() > 0;
        caption->setVisible(any);
        list->setVisible(any);
    };
    connect(model, &QAbstractItemModel::rowsInserted, this, showWhenAny);
    connect(model, &QAbstractItemModel::rowsRemoved, this, showWhenAny);
    connect(model, &QAbstractItemModel::modelReset, this, showWhenAny);
    showWhenAny();
}

CGradientButton* CNavigationColumn::AddButton(const QString& text)
{
    auto* button = new CGradientButton(text, this);
    button->SetColours(CThemeColour(SysColour::Light3D, 255),
                       CThemeColour(SysColour::GradientInactiveCaption, 255),
                       CThemeColour(SysColour::ActiveCaption, 220));
    button->SetTextColour(SysColour::ButtonText);
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
