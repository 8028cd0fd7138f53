#include "toolbar_button.h"

#include "flat_button.h"

#include <QImage>

void SetUpToolbarButton(CFlatButton& button, const QString& picture)
{
    button.SetBitmaps(QImage(picture), QColor(QLatin1String(kPictureTransparent)), {}, {}, false);
    button.SetAlignment(CFlatButton::kPictureLeft, false);
    button.SetColour(CFlatButton::kBackOver, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kBackNormal, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kBackFocus, SysColour::ScrollBar, false);
    button.SetColour(CFlatButton::kTextNormal, SysColour::WindowText, false);
    button.SetColour(CFlatButton::kTextOver, SysColour::HotTrack, false);
    button.update();
}
