#pragma once
#include <QRect>
#include <QWidget>
#include <cmath>

// Positions and sizes given in twips (1/1440 inch) are converted here and
// nowhere else. The windows are designed for 96 dots per inch: 15 twips a pixel.
namespace Twips {
constexpr double PerPixel = 15.0;

inline int toPixels(double twips) { return static_cast<int>(std::lround(twips / PerPixel)); }
inline double fromPixels(int pixels) { return pixels * PerPixel; }

inline QRect rect(double left, double top, double width, double height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

// Places a child widget at a rectangle given in twips (left, top, width, height).
inline void place(QWidget* w, double left, double top, double width, double height)
{
    w->setGeometry(rect(left, top, width, height));
}

// The same, handing the widget back, for building a window's controls.
template <class W>
W* placed(W* widget, double left, double top, double width, double height)
{
    place(widget, left, top, width, height);
    return widget;
}
} // namespace Twips
