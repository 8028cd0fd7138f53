#include "group_caption.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>

CGroupCaption::CGroupCaption(const QString& caption, QWidget* parent) : QWidget(parent)
{
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(new QLabel(caption, this));
    layout->addWidget(line, 1);
}
