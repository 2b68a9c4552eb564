#include "RotationOracle.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

struct ColourSum {
    double red = 0, green = 0, blue = 0, coverage = 0;
};

} // namespace

bool Oracle::AAWarpBitmap(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                          const RotateProgress& callback)
{
    if (source.isNull() || target.isNull())
        return false;
    const QImage src = source.convertToFormat(QImage::Format_RGB32);
    const int W = src.width();
    const int H = src.height();
    if (!BuildWarpGrid(W, H, X, Y))
        return false;
    const std::vector<PointD> grid = WarpGrid;

    int minX = FloorL(X[0]), minY = FloorL(Y[0]);
    int maxX = std::max(0, CeilL(X[0])), maxY = std::max(0, CeilL(Y[0]));
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, FloorL(X[i]));
        minY = std::min(minY, FloorL(Y[i]));
        maxX = std::max(maxX, CeilL(X[i]));
        maxY = std::max(maxY, CeilL(Y[i]));
    }
    const int regionW = maxX - minX;
    const int regionH = maxY - minY;
    std::vector<ColourSum> sums(static_cast<size_t>(regionW) * static_cast<size_t>(regionH));

    for (int x = 0; x < W; ++x) {
        for (int y = 0; y < H; ++y) {
            const PointD Q[4] = {grid[size_t((W + 1) * y + x)], grid[size_t((W + 1) * y + x + 1)],
                                 grid[size_t((W + 1) * (y + 1) + x + 1)], grid[size_t((W + 1) * (y + 1) + x)]};
            int x0 = FloorL(Q[0].X), x1 = CeilL(Q[0].X), y0 = FloorL(Q[0].Y), y1 = CeilL(Q[0].Y);
            for (int k = 1; k < 4; ++k) {
                if (Q[k].X < x0)
                    x0 = FloorL(Q[k].X);
                if (Q[k].X > x1)
                    x1 = CeilL(Q[k].X);
                if (Q[k].Y < y0)
                    y0 = FloorL(Q[k].Y);
                if (Q[k].Y > y1)
                    y1 = CeilL(Q[k].Y);
            }
            const QRgb p = reinterpret_cast<const QRgb*>(src.constScanLine(y))[x];
            for (int tx = x0; tx < x1; ++tx) {
                for (int ty = y0; ty < y1; ++ty) {
                    for (int k = 0; k < 4; ++k)
                        QuadRel[size_t(k)] = {Q[k].X - tx, Q[k].Y - ty};
                    const double a = QuadCellOverlap();
                    const int i = tx - minX, j = ty - minY;
                    if (a > 0 && i >= 0 && j >= 0 && i < regionW && j < regionH) {
                        ColourSum& s = sums[size_t(j) * size_t(regionW) + size_t(i)];
                        s.red += a * qRed(p);
                        s.green += a * qGreen(p);
                        s.blue += a * qBlue(p);
                        s.coverage += a;
                    }
                }
            }
        }
        if (callback && callback(double(x + 1) / W, x + 1, W) != 0)
            return false;
    }

    QImage out = target.convertToFormat(QImage::Format_RGB32);
    for (int i = 0; i < regionW; ++i) {
        const int tx = minX + i;
        if (tx < 0)
            continue;
        if (tx >= out.width())
            break;
        for (int j = 0; j < regionH; ++j) {
            const int ty = minY + j;
            if (ty < 0)
                continue;
            if (ty >= out.height())
                break;
            const ColourSum& s = sums[size_t(j) * size_t(regionW) + size_t(i)];
            const double A = s.coverage;
            QRgb& t = reinterpret_cast<QRgb*>(out.scanLine(ty))[tx];
            if (A <= 0)
                continue;
            if (A < 1)
                t = qRgb(ClampByte((1 - A) * qRed(t) + s.red), ClampByte((1 - A) * qGreen(t) + s.green),
                         ClampByte((1 - A) * qBlue(t) + s.blue));
            else
                t = qRgb(ClampByte(s.red / A), ClampByte(s.green / A), ClampByte(s.blue / A));
        }
    }
    target = out;
    return true;
}

QImage Oracle::WarpToNewBitmap(const QImage& source, Corners X, Corners Y, const RotateProgress& callback,
                               QRgb backColour)
{
    double minX = X[0], minY = Y[0];
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, X[i]);
        minY = std::min(minY, Y[i]);
    }
    int width = 0, height = 0;
    for (int i = 0; i < 4; ++i) {
        X[i] -= minX;
        Y[i] -= minY;
        width = std::max(width, CeilL(X[i]));
        height = std::max(height, CeilL(Y[i]));
    }
    QImage target(width, height, QImage::Format_RGB32);
    target.fill(backColour | 0xFF000000u);
    Oracle::AAWarpBitmap(source, target, X, Y, callback);
    return target;
}

QImage Oracle::RotatePicture(const QImage& pic, double angle, const RotateProgress& callback, QRgb backColour)
{
    if (pic.isNull())
        return QImage();
    const double c = CosDeg(angle);
    const double s = SinDegNeg(angle);
    const double hw = pic.width() / 2.0;
    const double hh = pic.height() / 2.0;
    const PointD corner[4] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    Corners X, Y;
    for (int i = 0; i < 4; ++i) {
        X[size_t(i)] = corner[i].X * c - corner[i].Y * s;
        Y[size_t(i)] = corner[i].Y * c + corner[i].X * s;
    }
    return Oracle::WarpToNewBitmap(pic, X, Y, callback, backColour);
}
