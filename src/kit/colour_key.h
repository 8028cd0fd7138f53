#pragma once

#include <QColor>
#include <QImage>
#include <QPixmap>

// The console's pictures are drawn on a background of one colour that stands for "nothing"
// (teal on the toolbar pictures, magenta on the status strip). Returns the picture with every
// pixel of exactly that colour made transparent; other pixels keep their colour and alpha. An
// invalid key leaves the picture as it is.
QImage ImageWithColourKey(const QImage& image, const QColor& key);
QPixmap PixmapWithColourKey(const QImage& image, const QColor& key);
