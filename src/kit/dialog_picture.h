#pragma once

#include <QLabel>

// The picture on the left of the console's small dialogs (login, about, incoming call), drawn
// from its vector art at the size the dialog's font calls for.
class CDialogPicture final : public QLabel
{
    Q_OBJECT

public:
    // width and height in dialog units.
    CDialogPicture(int width, int height, QWidget* parent = nullptr);
};
