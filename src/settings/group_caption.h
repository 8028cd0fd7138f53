#pragma once

#include <QWidget>

class QLabel;

// The heading of a group of controls in the settings dialogs: its caption as a plain label,
// followed on the same line by a thin etched line that runs to the right edge. A caption over a
// single field can name it, with a mnemonic.
class CGroupCaption final : public QWidget
{
    Q_OBJECT

public:
    CGroupCaption(const QString& caption, QWidget* parent);

    // The field the caption's mnemonic takes the focus to.
    void SetBuddy(QWidget* field);

private:
    QLabel* m_caption;
};
