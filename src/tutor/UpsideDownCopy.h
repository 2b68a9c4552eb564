#pragma once
#include <QColor>
#include <QImage>
#include <QSize>

// The picture turned by 180 degrees in a box of the given inner size, in two
// mirror steps: first painted flipped top to bottom from the box's bottom
// edge, as tall as the box and as wide as the picture; then that drawing,
// box-sized, flipped left to right from the box's right edge. What the
// picture does not cover shows the back colour. A picture of the box's size
// comes out exactly turned; a null picture gives a null picture.
QImage UpsideDownInBox(const QImage& picture, const QSize& box, const QColor& back);
