#pragma once

class QPalette;
class QStyle;

// The console was drawn for two desktop looks: a styled one, where buttons and menus take the
// desktop's own frames, and the classic raised one. On Linux the look is the Qt style in use:
// the "Windows" style is the classic look, every other style is styled. Nothing is read from
// the system beyond what Qt already knows.

// Whether the given style is the classic look.
bool IsClassicStyle(const QStyle* style);

// Whether the application's style draws themed frames.
bool IsXpThemed();

// Whether the application's style is the classic look; menus then use the raised look.
bool IsClassicTheme();

// Whether the palette is a dark one (light text on a dark window).
bool IsDarkPalette(const QPalette& palette);
