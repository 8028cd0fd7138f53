#pragma once

#include <QPalette>

// The look the operator chose in the options: the desktop's own, or Qt's Fusion style with a
// light or a dark palette of the console's own, whatever the desktop uses. Applied to the whole
// program at once; every window follows, the owner-drawn ones too, since they read the palette
// when they paint. The palettes keep normal text, selected text and links at a contrast of at
// least 4.5:1 on their backgrounds.
class CAppTheme final
{
public:
    enum Theme : int
    {
        kSystem = 0,
        kLight = 1,
        kDark = 2,
    };

    // Any other value is taken as System. The desktop's style and palette are those the program
    // had before the first call; System brings them back.
    static void Apply(int theme);

    static QPalette LightPalette();
    static QPalette DarkPalette();
};
