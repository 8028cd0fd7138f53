#pragma once

#include "layered_dlg.h"

#include <QPointer>
#include <chrono>
#include <functional>

class QPushButton;
class QTimer;

// A strip that stands for the visitor-entered popups that did not fit: "4 more visitors
// entered". It sits above the popups, never takes the focus, and closes after a while without
// news. A click on it does what its owner says (show the visitors list) and closes it.
class CPopupSummary final : public CLayeredDlg
{
    Q_OBJECT

public:
    CPopupSummary(std::function<void()> open, std::chrono::milliseconds lifetime);

    // Says the count and starts the lifetime afresh.
    void SetCount(int count);
    // Above the widget, right-aligned with it; at the bottom right of the screen without one.
    void PlaceAbove(const QWidget* below);

private:
    QPushButton* m_text;
    QTimer* m_timer;
    std::function<void()> m_open;
};
