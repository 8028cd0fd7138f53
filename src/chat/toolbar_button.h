#pragma once

#include <QString>

class CFlatButton;

// The pictures of the chat window and its dialogs are drawn on teal, which buttons leave out.
inline constexpr char kPictureTransparent[] = "#008080";

// Sets a flat button up as the console's toolbar buttons are: the picture (a resource path)
// left of the caption, the scroll-bar colour behind it, the window-text colour, and the
// hot-track colour for the text under the mouse.
void SetUpToolbarButton(CFlatButton& button, const QString& picture);
