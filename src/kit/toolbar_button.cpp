#include "toolbar_button.h"

#include "art_icon_engine.h"
#include "flat_button.h"

void SetUpToolbarButton(CFlatButton& button, const QString& picture)
{
    button.SetIcons(CArtIconEngine::Icon(picture), {}, false);
    button.SetAlignment(CFlatButton::kPictureLeft, false);
    button.SetColour(CFlatButton::kBackOver, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kBackFocus, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kTextNormal, SysColour::WindowText, false);
    // Pure blue on the usual light palette, and still readable on a dark one.
    button.SetColour(CFlatButton::kTextOver, SysColour::HotTrack, false);
    button.update();
}
