#include "system_colour.h"

#include "colour_math.h"

namespace {

// Desktop colours do not change with a widget's state: a disabled button sits on the same
// background as its enabled neighbours. Only the grey text is taken from the disabled group.
QColor Of(const QPalette& palette, QPalette::ColorRole role)
{
    return palette.color(QPalette::Active, role);
}

} // namespace

QColor SystemColour(SysColour role, const QPalette& palette)
{
    const QColor highlight = Of(palette, QPalette::Highlight);
    const QColor base = Of(palette, QPalette::Base);
    switch (role) {
    case SysColour::ButtonFace:
        return Of(palette, QPalette::Button);
    case SysColour::ButtonText:
        return Of(palette, QPalette::ButtonText);
    case SysColour::ButtonShadow:
        return Of(palette, QPalette::Dark);
    case SysColour::ButtonHighlight:
        return Of(palette, QPalette::Light);
    case SysColour::Light3D:
        return Of(palette, QPalette::Midlight);
    case SysColour::DarkShadow3D:
        return Of(palette, QPalette::Shadow);
    case SysColour::ActiveCaption:
        return highlight;
    case SysColour::GradientActiveCaption:
        // The far end of a caption gradient: the accent half-way faded into the background,
        // lighter on a light desktop and darker on a dark one.
        return Blend(highlight, base, 0.5);
    case SysColour::InactiveCaption:
        return Blend(highlight, Of(palette, QPalette::Button), 0.6);
    case SysColour::GradientInactiveCaption:
        return Blend(highlight, base, 0.8);
    case SysColour::CaptionText:
        return Of(palette, QPalette::HighlightedText);
    case SysColour::ScrollBar:
        return Blend(Of(palette, QPalette::Button), Of(palette, QPalette::Dark), 0.25);
    case SysColour::Window:
        return base;
    case SysColour::WindowText:
        return Of(palette, QPalette::Text);
    case SysColour::Highlight:
        return highlight;
    case SysColour::HighlightText:
        return Of(palette, QPalette::HighlightedText);
    case SysColour::HotTrack:
        return Of(palette, QPalette::Link);
    case SysColour::GrayText:
        return palette.color(QPalette::Disabled, QPalette::Text);
    case SysColour::MenuBar:
        return Of(palette, QPalette::Window);
    case SysColour::Menu:
        return base;
    case SysColour::MenuText:
        return Of(palette, QPalette::Text);
    }
    return Of(palette, QPalette::Button);
}
