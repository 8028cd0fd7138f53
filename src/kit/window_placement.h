#pragma once

#include <QList>
#include <QRect>
#include <Qt>

// A window's placement as the layout profile keeps it: the show state and the window's
// rectangle in its normal (restored) state, in screen pixels, with right and bottom exclusive.
// A maximised window thus comes back maximised and restores to the size it had before.
struct WindowPlacement
{
    static constexpr int kShowNormal = 1;
    static constexpr int kShowMinimized = 2;
    static constexpr int kShowMaximized = 3;

    int show = kShowNormal;
    // The rectangle a stored Show without edges restores to.
    int left = 40;
    int top = 40;
    int right = 600;
    int bottom = 400;

    static WindowPlacement From(Qt::WindowStates states, const QRect& normalGeometry);
    // Any stored show state other than minimised or maximised restores as normal, so a window
    // is never brought back hidden.
    Qt::WindowStates WindowStates() const;
    QRect NormalRect() const { return {QPoint(left, top), QSize(right - left, bottom - top)}; }

    bool operator==(const WindowPlacement& other) const = default;
};

inline constexpr int kMinVisible = 40;

// The rectangle to restore a window to, given the available geometries of the screens that
// are there now, the primary screen first (as QGuiApplication::screens() lists them).
//
// A rectangle is kept when the band along its top edge, where the title bar is, shows on some
// screen by at least kMinVisible pixels each way (or its whole width or height when smaller):
// a window stored on a monitor since removed, or with only a sliver left on screen, would be
// out of reach. Such a rectangle is moved onto the primary screen, the least distance that
// brings it wholly there, and shrunk to that screen when larger. A rectangle without area
// (edges crossed in a damaged profile) becomes the default one. No screens: nothing to check.
QRect PlaceOnScreens(const QRect& stored, const QList<QRect>& screens);
