#pragma once

class QWidget;

// Beeps and shows why an address could not be opened, in a warning box over the widget's
// window. The box does not block: the window goes on receiving events while it is up.
void WarnUrlFailure(QWidget* widget, int code);
