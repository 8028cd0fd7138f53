#pragma once

#include <QColor>
#include <QList>

// Readability of text on a background, as the web's accessibility guidelines measure it: the
// ratio of the relative luminances (each plus 0.05) of the lighter and the darker colour, from 1
// (no contrast) to 21 (black on white). Body text needs 4.5, a focus frame or a large heading 3.

inline constexpr double kTextContrast = 4.5;
inline constexpr double kFrameContrast = 3.0;

// 0 for black to 1 for white, by the sRGB curve and the eye's weights of red, green and blue.
double RelativeLuminance(const QColor& colour);
double ContrastRatio(const QColor& a, const QColor& b);

// The colour as it is when it keeps at least the ratio against every one of the backgrounds
// (the two ends of a gradient, say); otherwise the same hue and saturation made lighter or darker,
// whichever needs the smaller step, just as far as the ratio needs. Where neither direction can
// reach it (a mid-grey background and a high ratio), black or white, whichever contrasts more.
QColor ReadableOn(const QColor& colour, const QList<QColor>& backgrounds,
                  double ratio = kTextContrast);

// Text on a background that runs through several colours (the ends of a gradient, a colour
// under the mouse): the text colour made readable on all of them, where one colour can be;
// otherwise the text colour is kept and each background colour is moved just far enough from it.
// Light text on a caption that fades to a light colour thus keeps the caption's look, with a
// darker far end.
struct CTextOnFaces
{
    QColor text;
    QList<QColor> faces;
};
CTextOnFaces ReadableTextOnFaces(const QColor& text, const QList<QColor>& faces,
                                 double ratio = kTextContrast);

// A colour with transparency as it shows when painted over an opaque one.
QColor Over(const QColor& top, const QColor& under);
