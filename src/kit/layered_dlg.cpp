#include "layered_dlg.h"

#include <QtMath>

CLayeredDlg::CLayeredDlg(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {}

int CLayeredDlg::SetTransparency(std::uint8_t opacity)
{
    if (opacity == 255) {
        setWindowOpacity(1.0);
        // Drawn afresh at once, children included, so no frame of the translucent look stays
        // on the screen until the next event round.
        repaint();
        return 0;
    }
    setWindowOpacity(opacity / 255.0);
    return 0;
}

int CLayeredDlg::Transparency() const
{
    return qRound(windowOpacity() * 255.0);
}
