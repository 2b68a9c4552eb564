#pragma once
#include "ModAaform.h"

#include <algorithm>

// Small pieces shared by the warps.
namespace AreaWarp {

// ClampByte for the compositing loops: the nearest whole number, halves to
// even, within 0..255.
inline quint8 ClampByteFast(double v)
{
    if (!(v > 0))
        return 0;
    if (v >= 255)
        return 255;
    // Adding and taking away 1.5 * 2^52 rounds to a whole number, halves to even.
    constexpr double magic = 6755399441055744.0;
    return static_cast<quint8>((v + magic) - magic);
}

// A target pixel with coverage A and colour integrals r, g, b: an edge pixel
// keeps the share 1 - A of its colour, a covered one takes the mean colour.
inline void Composite(QRgb& pixel, double A, double r, double g, double b)
{
    if (A <= 0)
        return;
    if (A < 1) {
        const double keep = 1 - A;
        pixel = qRgb(ClampByteFast(keep * qRed(pixel) + r), ClampByteFast(keep * qGreen(pixel) + g),
                     ClampByteFast(keep * qBlue(pixel) + b));
    } else {
        const double k = 1 / A;
        pixel = qRgb(ClampByteFast(r * k), ClampByteFast(g * k), ClampByteFast(b * k));
    }
}

// The progress call for source column x of W; false when it asks to stop.
inline bool ReportColumn(const RotateProgress& callback, int x, int W)
{
    return !callback || callback(double(x + 1) / W, x + 1, W) == 0;
}

// The least and greatest x of the convex quadrilateral (X, Y) within the band
// y0 <= y <= y1; false when it does not reach the band.
inline bool SpanInBand(const Corners& X, const Corners& Y, double y0, double y1, double& lo, double& hi)
{
    bool any = false;
    auto take = [&](double x) {
        lo = any ? std::min(lo, x) : x;
        hi = any ? std::max(hi, x) : x;
        any = true;
    };
    for (size_t i = 0; i < 4; ++i) {
        const size_t j = (i + 1) % 4;
        if (Y[i] >= y0 && Y[i] <= y1)
            take(X[i]);
        for (double yb : {y0, y1}) {
            if ((Y[i] - yb) * (Y[j] - yb) < 0)
                take(X[i] + (yb - Y[i]) * (X[j] - X[i]) / (Y[j] - Y[i]));
        }
    }
    return any;
}

} // namespace AreaWarp
