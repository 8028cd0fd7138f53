#pragma once

#include <QDialog>
#include <cstdint>

// A dialog whose whole window can be made translucent (the visitor-entered popup is one).
class CLayeredDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CLayeredDlg(QWidget* parent = nullptr, Qt::WindowFlags flags = {});

    // 255 makes the window opaque again and repaints it with all its children; any lower value
    // sets the opacity of the whole window. Returns 0.
    int SetTransparency(std::uint8_t opacity);
    int Transparency() const;
};
