#pragma once

#include <QWidget>

// The heading of a group of controls in the settings dialogs: its caption as a plain label,
// followed on the same line by a thin etched line that runs to the right edge.
class CGroupCaption final : public QWidget
{
    Q_OBJECT

public:
    CGroupCaption(const QString& caption, QWidget* parent);
};
