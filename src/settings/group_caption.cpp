#include "group_caption.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

CGroupCaption::CGroupCaption(const QString& caption, QWidget* parent)
    : QWidget(parent), m_caption(new QLabel(caption, this))
{
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_caption);
    layout->addWidget(line, 1);
}

void CGroupCaption::SetBuddy(QWidget* field)
{
    m_caption->setBuddy(field);
    // Screen readers name a field after a label beside it; this one sits inside the caption.
    if (field->accessibleName().isEmpty())
        field->setAccessibleName(QString(m_caption->text()).remove(QLatin1Char('&')));
}
