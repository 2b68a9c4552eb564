#include "AreaWarp.h"
#include "WarpSupport.h"

#include <cmath>
#include <cstring>

// Turns by multiples of 90 degrees: every source pixel lands on exactly one
// target pixel, which takes its colour unchanged.

namespace AreaWarp {
namespace {

constexpr double SnapTolerance = 1E-9;

using Pixels4 = quint32 __attribute__((vector_size(16)));

// Turns the 4 x 4 pixels at s (source rows srcStride apart) a quarter round:
// source column c goes to the target row at d + c * rowStep, along it
// forwards (along = 1) or backwards (along = -1, then ending at d).
inline void turnQuarterBlock(const QRgb* s, qsizetype srcStride, QRgb* d, qsizetype rowStep, int along)
{
    Pixels4 r[4];
    for (int i = 0; i < 4; ++i)
        std::memcpy(&r[i], s + srcStride * i, sizeof(Pixels4));
    const Pixels4 t0 = __builtin_shufflevector(r[0], r[1], 0, 4, 1, 5);
    const Pixels4 t1 = __builtin_shufflevector(r[0], r[1], 2, 6, 3, 7);
    const Pixels4 t2 = __builtin_shufflevector(r[2], r[3], 0, 4, 1, 5);
    const Pixels4 t3 = __builtin_shufflevector(r[2], r[3], 2, 6, 3, 7);
    const Pixels4 c[4] = {__builtin_shufflevector(t0, t2, 0, 1, 4, 5), __builtin_shufflevector(t0, t2, 2, 3, 6, 7),
                          __builtin_shufflevector(t1, t3, 0, 1, 4, 5), __builtin_shufflevector(t1, t3, 2, 3, 6, 7)};
    const Pixels4 opaque{0xFF000000u, 0xFF000000u, 0xFF000000u, 0xFF000000u};
    for (int i = 0; i < 4; ++i) {
        Pixels4 v = c[i] | opaque;
        if (along < 0)
            v = __builtin_shufflevector(v, v, 3, 2, 1, 0);
        std::memcpy(d + rowStep * i - (along < 0 ? 3 : 0), &v, sizeof(Pixels4));
    }
}

} // namespace

bool WholePixelSteps(const Affine& m, int W, int H, int steps[4])
{
    const double v[4] = {m.ax, m.ay, m.bx, m.by};
    double drift = 0;
    for (int k = 0; k < 4; ++k) {
        const double r = std::nearbyint(v[k]);
        if (std::abs(r) > 1)
            return false;
        steps[k] = static_cast<int>(r);
        drift += std::abs(v[k] - r) * (k < 2 ? W : H);
    }
    if (std::abs(steps[0]) + std::abs(steps[1]) != 1 || std::abs(steps[2]) + std::abs(steps[3]) != 1
        || steps[0] * steps[2] + steps[1] * steps[3] != 0)
        return false;
    return drift + std::abs(m.x0 - std::nearbyint(m.x0)) < SnapTolerance
           && drift + std::abs(m.y0 - std::nearbyint(m.y0)) < SnapTolerance;
}

bool WarpWholePixels(const QImage& src, QImage& target, const Affine& m, const int steps[4],
                     const RotateProgress& callback, const QRgb* background)
{
    const int W = src.width();
    const int H = src.height();
    const int ax = steps[0], ay = steps[1], bx = steps[2], by = steps[3];
    // Source pixel (x, y) covers the target pixel whose top-left corner is the
    // least of its four mapped corners.
    const qint64 ox = qint64(std::nearbyint(m.x0)) + std::min(0, ax) + std::min(0, bx);
    const qint64 oy = qint64(std::nearbyint(m.y0)) + std::min(0, ay) + std::min(0, by);
    const int dstW = target.width();
    const int dstH = target.height();
    const qint64 firstX = ox + std::min(0, (W - 1) * ax) + std::min(0, (H - 1) * bx);
    const qint64 lastX = ox + std::max(0, (W - 1) * ax) + std::max(0, (H - 1) * bx);
    const qint64 firstY = oy + std::min(0, (W - 1) * ay) + std::min(0, (H - 1) * by);
    const qint64 lastY = oy + std::max(0, (W - 1) * ay) + std::max(0, (H - 1) * by);
    const bool inside = firstX >= 0 && firstY >= 0 && lastX < dstW && lastY < dstH;
    // A target that stands for one colour and that the picture fills is
    // written in place (the caller fills it should the warp fail or be
    // stopped). Otherwise the warp writes a copy of the target.
    const bool inPlace = background && inside && firstX == 0 && firstY == 0 && lastX == dstW - 1 && lastY == dstH - 1;
    if (background && !inPlace)
        target.fill(*background);
    QImage copy = inPlace ? QImage() : target.copy();
    QImage& out = inPlace ? target : copy;
    if (out.isNull())
        return false;
    const qsizetype outStride = out.bytesPerLine() / 4;
    QRgb* outBits = reinterpret_cast<QRgb*>(out.bits());
    const qsizetype srcStride = src.bytesPerLine() / 4;
    const QRgb* srcBits = reinterpret_cast<const QRgb*>(src.constBits());
    const qsizetype columnStep = ay * outStride + ax;

    // Columns go in blocks, so that both pictures are read and written a
    // cache line at a time: row by row within a block when a source row stays
    // a target row (0 and 180 degrees), otherwise in tiles of 16 rows, column
    // by column within a tile.
    constexpr int Block = 64;
    constexpr int TileRows = 16;
    for (int x0 = 0; x0 < W; x0 += Block) {
        const int x1 = std::min(W, x0 + Block);
        const int n = x1 - x0;
        if (!inside) {
            for (int y = 0; y < H; ++y) {
                const QRgb* s = srcBits + srcStride * y + x0;
                const qint64 tx = ox + qint64(x0) * ax + qint64(y) * bx;
                const qint64 ty = oy + qint64(x0) * ay + qint64(y) * by;
                for (int x = x0; x < x1; ++x, ++s) {
                    const qint64 px = tx + qint64(x - x0) * ax;
                    const qint64 py = ty + qint64(x - x0) * ay;
                    if (px >= 0 && py >= 0 && px < dstW && py < dstH)
                        outBits[outStride * py + px] = *s | 0xFF000000u;
                }
            }
        } else if (columnStep == 1 || columnStep == -1) {
            for (int y = 0; y < H; ++y) {
                const QRgb* s = srcBits + srcStride * y + x0;
                QRgb* d = outBits + outStride * (oy + qint64(x0) * ay + qint64(y) * by) + (ox + qint64(x0) * ax + qint64(y) * bx);
                if (columnStep == 1) {
                    for (int k = 0; k < n; ++k)
                        d[k] = s[k] | 0xFF000000u;
                } else {
                    for (int k = 0; k < n; ++k)
                        d[-k] = s[k] | 0xFF000000u;
                }
            }
        } else {
            // A quarter turn: source columns become target rows. Blocks of
            // 4 x 4 pixels are turned in vector registers.
            auto pixel = [&](qint64 x, qint64 y) {
                outBits[outStride * (oy + x * ay + y * by) + (ox + x * ax + y * bx)] =
                    srcBits[srcStride * y + x] | 0xFF000000u;
            };
            for (int y0 = 0; y0 < H; y0 += TileRows) {
                const int y1 = std::min(H, y0 + TileRows);
                int y = y0;
                for (; y + 4 <= y1; y += 4) {
                    int x = x0;
                    for (; x + 4 <= x1; x += 4) {
                        const QRgb* s = srcBits + srcStride * y + x;
                        QRgb* d = outBits + outStride * (oy + qint64(x) * ay) + (ox + qint64(y) * bx);
                        turnQuarterBlock(s, srcStride, d, ay * outStride, bx);
                    }
                    for (; x < x1; ++x)
                        for (int r = y; r < y + 4; ++r)
                            pixel(x, r);
                }
                for (; y < y1; ++y)
                    for (int x = x0; x < x1; ++x)
                        pixel(x, y);
            }
        }
        for (int x = x0; x < x1; ++x)
            if (!ReportColumn(callback, x, W))
                return false;
    }
    if (!inPlace)
        target = copy;
    return true;
}

} // namespace AreaWarp
