#pragma once

#include <QString>

class CFlatButton;

// Gives a flat button the look of the console's toolbar: its picture (the resource path of one
// of the console's SVG pictures, drawn by CArtIconEngine) left of the caption, on the scroll-bar colour in every state,
// the caption in the window-text colour and in the hot-track colour under the mouse. The
// dialogs' and the chat window's buttons share it.
void SetUpToolbarButton(CFlatButton& button, const QString& picture);
