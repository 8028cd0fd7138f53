#pragma once

#include <QString>

class CFlatButton;

// Gives a flat button the look of the console's toolbar: its picture (a resource path, drawn
// on teal, which is left out) left of the caption, on the scroll-bar colour in every state,
// the caption in the window-text colour and in the hot-track colour under the mouse. The
// dialogs' and the chat window's buttons share it.
void SetUpToolbarButton(CFlatButton& button, const QString& picture);
