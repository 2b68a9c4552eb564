#include "AreaWarp.h"

#include <algorithm>
#include <cmath>

// How the areas are found.
//
// The warped source is a field that is constant on every warped source
// pixel. Such a field equals the sum of its edges: each grid edge of the
// source carries the difference of the colours on its two sides, the
// picture's outline the colour against nothing. For one directed segment
// the signed area between it and the right-hand end of every row band it
// crosses is laid down as differences along that row (the segment's share of
// the cell it passes through, the rest in the next cell); a running sum along
// each row then gives every cell the exact integral of the field over it, and
// the coverage likewise from a fourth lane that carries 1 inside the picture.
//
// That is one short rasterisation per source pixel edge and one pass over the
// target, where clipping every source pixel against every target cell it
// touches takes a polygon clip per pair. The results agree with the clipping
// up to floating-point rounding.

namespace AreaWarp {
namespace {

constexpr double SnapTolerance = 1E-9;

// Red, green, blue and coverage.
struct alignas(32) Lanes {
    double v[4];
};

inline void addScaled(Lanes& cell, double m, const Lanes& w)
{
    for (int k = 0; k < 4; ++k)
        cell.v[k] += m * w.v[k];
}

inline Lanes minus(const Lanes& a, const Lanes& b)
{
    Lanes r;
    for (int k = 0; k < 4; ++k)
        r.v[k] = a.v[k] - b.v[k];
    return r;
}

inline bool isZero(const Lanes& w) { return w.v[0] == 0 && w.v[1] == 0 && w.v[2] == 0 && w.v[3] == 0; }

inline Lanes lanesOf(QRgb p) { return Lanes{{double(qRed(p)), double(qGreen(p)), double(qBlue(p)), 1.0}}; }

// ClampByte for the compositing loop: the nearest whole number, halves to
// even, within 0..255.
inline quint8 clampByte(double v)
{
    if (!(v > 0))
        return 0;
    if (v >= 255)
        return 255;
    // Adding and taking away 1.5 * 2^52 rounds to a whole number, halves to even.
    constexpr double magic = 6755399441055744.0;
    return static_cast<quint8>((v + magic) - magic);
}

inline bool reportColumn(const RotateProgress& callback, int x, int W)
{
    return !callback || callback(double(x + 1) / W, x + 1, W) == 0;
}

// The least and greatest x of the convex quadrilateral (X, Y) within the band
// y0 <= y <= y1; false when it does not reach the band.
bool spanInBand(const Corners& X, const Corners& Y, double y0, double y1, double& lo, double& hi)
{
    bool any = false;
    auto take = [&](double x) {
        if (!any) {
            lo = hi = x;
            any = true;
        } else {
            lo = std::min(lo, x);
            hi = std::max(hi, x);
        }
    };
    for (int i = 0; i < 4; ++i) {
        const int j = (i + 1) % 4;
        if (Y[i] >= y0 && Y[i] <= y1)
            take(X[i]);
        for (double yb : {y0, y1}) {
            if ((Y[i] - yb) * (Y[j] - yb) < 0)
                take(X[i] + (yb - Y[i]) * (X[j] - X[i]) / (Y[j] - Y[i]));
        }
    }
    return any;
}

// The differences laid down along the rows of the region. Each row keeps
// only the cells that the quadrilateral can reach.
class Accumulator {
public:
    // (X, Y): the quadrilateral in region coordinates.
    Accumulator(int width, int height, const Corners& X, const Corners& Y) : m_width(width), m_height(height)
    {
        m_rows.resize(static_cast<size_t>(height));
        std::vector<size_t> start(static_cast<size_t>(height));
        size_t total = 0;
        for (int r = 0; r < height; ++r) {
            double lo = 0, hi = 0;
            int left = 0, right = 0;
            if (spanInBand(X, Y, r, r + 1, lo, hi)) {
                left = static_cast<int>(std::clamp(std::floor(lo) - 1, 0.0, double(width)));
                right = static_cast<int>(std::clamp(std::ceil(hi) + 1, double(left), double(width)));
            }
            Row& row = m_rows[static_cast<size_t>(r)];
            row.left = left;
            row.right = right;
            row.leftI = left;
            start[static_cast<size_t>(r)] = total;
            total += static_cast<size_t>(right - left) + 2;
        }
        m_cells.assign(total, Lanes{{0, 0, 0, 0}});
        for (int r = 0; r < height; ++r)
            m_rows[static_cast<size_t>(r)].base = m_cells.data() + start[static_cast<size_t>(r)];
    }

    int Height() const { return m_height; }
    double HeightD() const { return m_height; }

    // The piece of a segment in row r from x = xa to x = xb over the signed
    // height d, at most one unit wide.
    void AddShortPiece(int r, double xa, double xb, double d, const Lanes& w)
    {
        const Row& row = m_rows[static_cast<size_t>(r)];
        xa = std::clamp(xa, row.left, row.right);
        xb = std::clamp(xb, row.left, row.right);
        const double lo = std::min(xa, xb);
        const double hi = std::max(xa, xb);
        const int i0 = static_cast<int>(lo);
        Lanes* c = row.base + (i0 - row.leftI);
        if (hi <= i0 + 1) {
            const double mid = 0.5 * (xa + xb) - i0;
            addScaled(c[0], d - d * mid, w);
            addScaled(c[1], d * mid, w);
        } else {
            const double s = d / (hi - lo);
            const double f0 = (i0 + 1) - lo;
            const double f1 = hi - (i0 + 1);
            const double first = 0.5 * s * f0 * f0;
            const double last = 0.5 * s * f1 * f1;
            addScaled(c[0], first, w);
            addScaled(c[1], d - first - last, w);
            addScaled(c[2], last, w);
        }
    }

    // The same for a piece of any width.
    void AddPiece(int r, double xa, double xb, double d, const Lanes& w)
    {
        const Row& row = m_rows[static_cast<size_t>(r)];
        xa = std::clamp(xa, row.left, row.right);
        xb = std::clamp(xb, row.left, row.right);
        const double lo = std::min(xa, xb);
        const double hi = std::max(xa, xb);
        const int i0 = static_cast<int>(lo);
        const int i1 = static_cast<int>(std::ceil(hi));
        if (i1 <= i0 + 2) {
            AddShortPiece(r, xa, xb, d, w);
            return;
        }
        Lanes* c = row.base - row.leftI;
        const double s = d / (hi - lo);
        const double f0 = (i0 + 1) - lo;
        const double f1 = hi - (i1 - 1);
        const double first = 0.5 * s * f0 * f0;
        const double last = 0.5 * s * f1 * f1;
        addScaled(c[i0], first, w);
        double laid = first;
        const double second = s * (f0 + 0.5);
        addScaled(c[i0 + 1], second - first, w);
        laid = second;
        for (int i = i0 + 2; i < i1 - 1; ++i) {
            addScaled(c[i], s, w);
            laid += s;
        }
        addScaled(c[i1 - 1], d - laid - last, w);
        addScaled(c[i1], last, w);
    }

    // A directed segment between two points, of any length.
    void AddEdge(double x0, double y0, double x1, double y1, const Lanes& w)
    {
        if (y0 == y1)
            return;
        double dir = 1;
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
            dir = -1;
        }
        const double dxdy = (x1 - x0) / (y1 - y0);
        const double ya0 = std::max(y0, 0.0);
        const double yb0 = std::min(y1, HeightD());
        if (!(ya0 < yb0))
            return;
        int r = static_cast<int>(ya0);
        double ya = ya0;
        double xa = x0 + (ya - y0) * dxdy;
        while (ya < yb0 && r < m_height) {
            const double yb = std::min(yb0, double(r + 1));
            const double xb = x0 + (yb - y0) * dxdy;
            AddPiece(r, xa, xb, (yb - ya) * dir, w);
            ya = yb;
            xa = xb;
            ++r;
        }
    }

    // Turns the differences into cell values and writes the covered pixels.
    // sign makes the areas positive whichever way the quadrilateral winds.
    void Composite(QImage& target, const Region& region, double sign)
    {
        const qsizetype stride = target.bytesPerLine() / 4;
        QRgb* bits = reinterpret_cast<QRgb*>(target.bits());
        for (int r = 0; r < m_height; ++r) {
            const Row& row = m_rows[static_cast<size_t>(r)];
            const int end = std::min(static_cast<int>(row.right), m_width - 1);
            QRgb* out = bits + stride * (region.top + r) + region.left;
            double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (int i = row.leftI; i <= end; ++i) {
                const Lanes& c = row.base[i - row.leftI];
                s0 += c.v[0];
                s1 += c.v[1];
                s2 += c.v[2];
                s3 += c.v[3];
                const double A = s3 * sign;
                if (A <= 0)
                    continue;
                if (A < 1) {
                    const QRgb t = out[i];
                    const double keep = 1 - A;
                    out[i] = qRgb(clampByte(keep * qRed(t) + s0 * sign), clampByte(keep * qGreen(t) + s1 * sign),
                                  clampByte(keep * qBlue(t) + s2 * sign));
                } else {
                    const double k = sign / A;
                    out[i] = qRgb(clampByte(s0 * k), clampByte(s1 * k), clampByte(s2 * k));
                }
            }
        }
    }

private:
    struct Row {
        double left = 0;  // pieces are kept within left..right
        double right = 0; //
        int leftI = 0;    // the cell at base[0]
        Lanes* base = nullptr;
    };
    int m_width;
    int m_height;
    std::vector<Row> m_rows;
    std::vector<Lanes> m_cells;
};

// One family of parallel grid edges of a parallelogram warp, all the same
// vector (vx, vy): the direction is worked out once for all.
struct EdgeFamily {
    double vx = 0, vy = 0;
    double offX = 0, offY = 0; // from an edge's start to its upper end
    double height = 0;         // |vy|
    double dxdy = 0;
    double dir = 0;     // +1 when the edge runs downwards, -1 upwards
    bool flat = true;   // vy == 0: no area
    bool short_ = true; // at most one unit each way

    EdgeFamily(double vx_, double vy_) : vx(vx_), vy(vy_)
    {
        if (vy == 0)
            return;
        flat = false;
        dxdy = vx / vy;
        height = std::abs(vy);
        dir = vy > 0 ? 1 : -1;
        if (vy < 0) {
            offX = vx;
            offY = vy;
        }
        short_ = height <= 1 && std::abs(vx) <= 1;
    }

    // The edge from (x, y).
    void Add(Accumulator& acc, double x, double y, const Lanes& w) const
    {
        if (!short_) {
            acc.AddEdge(x, y, x + vx, y + vy, w);
            return;
        }
        double xt = x + offX;
        double yt = y + offY;
        const double yb = std::min(yt + height, acc.HeightD());
        if (yt < 0) {
            xt -= yt * dxdy;
            yt = 0;
        }
        if (!(yt < yb))
            return;
        const int r = static_cast<int>(yt);
        const double yr = r + 1.0;
        if (yb <= yr) {
            acc.AddShortPiece(r, xt, xt + (yb - yt) * dxdy, (yb - yt) * dir, w);
        } else {
            const double xm = xt + (yr - yt) * dxdy;
            acc.AddShortPiece(r, xt, xm, (yr - yt) * dir, w);
            acc.AddShortPiece(r + 1, xm, xm + (yb - yr) * dxdy, (yb - yr) * dir, w);
        }
    }
};

// The colours of source column x as lanes, H of them.
void loadColumn(const QImage& src, int x, std::vector<Lanes>& column)
{
    const uchar* bits = src.constBits();
    const qsizetype bpl = src.bytesPerLine();
    for (size_t y = 0; y < column.size(); ++y)
        column[y] = lanesOf(reinterpret_cast<const QRgb*>(bits + bpl * static_cast<qsizetype>(y))[x]);
}

Corners relative(const Corners& v, double origin)
{
    Corners r;
    for (int i = 0; i < 4; ++i)
        r[i] = v[i] - origin;
    return r;
}

// The areas come out negative for a quadrilateral that winds like the source
// itself (clockwise on the screen).
double windingSign(const Corners& X, const Corners& Y)
{
    const double cross = (X[1] - X[0]) * (Y[3] - Y[0]) - (Y[1] - Y[0]) * (X[3] - X[0]);
    return cross > 0 ? -1 : 1;
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
                     const RotateProgress& callback)
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
    // When the picture fills the whole target every pixel is written, and the
    // target's old pixels need not be copied.
    const bool fills = inside && firstX == 0 && firstY == 0 && lastX == dstW - 1 && lastY == dstH - 1;
    QImage out = fills ? QImage(dstW, dstH, QImage::Format_RGB32) : target.copy();
    if (out.isNull())
        return false;
    const qsizetype outStride = out.bytesPerLine() / 4;
    QRgb* outBits = reinterpret_cast<QRgb*>(out.bits());
    const qsizetype srcStride = src.bytesPerLine() / 4;
    const QRgb* srcBits = reinterpret_cast<const QRgb*>(src.constBits());
    const qsizetype columnStep = ay * outStride + ax;

    // Columns go in blocks, row by row within a block, so that both pictures
    // are read and written a cache line at a time.
    constexpr int Block = 16;
    for (int x0 = 0; x0 < W; x0 += Block) {
        const int x1 = std::min(W, x0 + Block);
        for (int y = 0; y < H; ++y) {
            const QRgb* s = srcBits + srcStride * y + x0;
            const qint64 tx = ox + qint64(x0) * ax + qint64(y) * bx;
            const qint64 ty = oy + qint64(x0) * ay + qint64(y) * by;
            if (inside) {
                QRgb* d = outBits + outStride * ty + tx;
                for (int x = x0; x < x1; ++x, ++s, d += columnStep)
                    *d = *s | 0xFF000000u;
            } else {
                for (int x = x0; x < x1; ++x, ++s) {
                    const qint64 px = tx + qint64(x - x0) * ax;
                    const qint64 py = ty + qint64(x - x0) * ay;
                    if (px >= 0 && py >= 0 && px < dstW && py < dstH)
                        outBits[outStride * py + px] = *s | 0xFF000000u;
                }
            }
        }
        for (int x = x0; x < x1; ++x)
            if (!reportColumn(callback, x, W))
                return false;
    }
    target = out;
    return true;
}

bool WarpAffine(const QImage& src, QImage& target, const Affine& m, const Corners& X, const Corners& Y,
                const Region& region, const RotateProgress& callback)
{
    const int W = src.width();
    const int H = src.height();
    Accumulator acc(region.right - region.left, region.bottom - region.top, relative(X, region.left),
                    relative(Y, region.top));
    const double ox = m.x0 - region.left;
    const double oy = m.y0 - region.top;
    const EdgeFamily across(m.ax, m.ay); // grid edges from (x, y) to (x + 1, y)
    const EdgeFamily down(m.bx, m.by);   // grid edges from (x, y) to (x, y + 1)

    std::vector<Lanes> previous(static_cast<size_t>(H), Lanes{{0, 0, 0, 0}});
    std::vector<Lanes> current(static_cast<size_t>(H));
    // The grid line x between source columns x - 1 (previous) and x (current).
    auto verticalLine = [&](int x, const std::vector<Lanes>& left, const std::vector<Lanes>* right) {
        if (down.flat)
            return;
        const double px = ox + x * m.ax;
        const double py = oy + x * m.ay;
        for (int y = 0; y < H; ++y) {
            const Lanes& l = left[static_cast<size_t>(y)];
            const Lanes w = right ? minus(l, (*right)[static_cast<size_t>(y)]) : l;
            if (!isZero(w))
                down.Add(acc, px + y * m.bx, py + y * m.by, w);
        }
    };
    for (int x = 0; x < W; ++x) {
        loadColumn(src, x, current);
        verticalLine(x, previous, &current);
        if (!across.flat) {
            const double px = ox + x * m.ax;
            const double py = oy + x * m.ay;
            Lanes above{{0, 0, 0, 0}};
            for (int y = 0; y <= H; ++y) {
                const Lanes below = y < H ? current[static_cast<size_t>(y)] : Lanes{{0, 0, 0, 0}};
                const Lanes w = minus(below, above);
                if (!isZero(w))
                    across.Add(acc, px + y * m.bx, py + y * m.by, w);
                above = below;
            }
        }
        previous.swap(current);
        if (x == W - 1)
            verticalLine(W, previous, nullptr);
        if (!reportColumn(callback, x, W))
            return false;
    }
    acc.Composite(target, region, windingSign(X, Y));
    return true;
}

bool WarpGrid(const QImage& src, QImage& target, const std::vector<PointD>& grid, const Corners& X,
              const Corners& Y, const Region& region, const RotateProgress& callback)
{
    const int W = src.width();
    const int H = src.height();
    Accumulator acc(region.right - region.left, region.bottom - region.top, relative(X, region.left),
                    relative(Y, region.top));
    const qsizetype stride = qsizetype(W) + 1;
    auto at = [&](int x, int y) -> const PointD& { return grid[static_cast<size_t>(stride * y + x)]; };
    auto edge = [&](const PointD& p, const PointD& q, const Lanes& w) {
        if (!isZero(w))
            acc.AddEdge(p.X - region.left, p.Y - region.top, q.X - region.left, q.Y - region.top, w);
    };
    std::vector<Lanes> previous(static_cast<size_t>(H), Lanes{{0, 0, 0, 0}});
    std::vector<Lanes> current(static_cast<size_t>(H));
    auto verticalLine = [&](int x, const std::vector<Lanes>& left, const std::vector<Lanes>* right) {
        for (int y = 0; y < H; ++y) {
            const Lanes& l = left[static_cast<size_t>(y)];
            edge(at(x, y), at(x, y + 1), right ? minus(l, (*right)[static_cast<size_t>(y)]) : l);
        }
    };
    for (int x = 0; x < W; ++x) {
        loadColumn(src, x, current);
        verticalLine(x, previous, &current);
        Lanes above{{0, 0, 0, 0}};
        for (int y = 0; y <= H; ++y) {
            const Lanes below = y < H ? current[static_cast<size_t>(y)] : Lanes{{0, 0, 0, 0}};
            edge(at(x, y), at(x + 1, y), minus(below, above));
            above = below;
        }
        previous.swap(current);
        if (x == W - 1)
            verticalLine(W, previous, nullptr);
        if (!reportColumn(callback, x, W))
            return false;
    }
    acc.Composite(target, region, windingSign(X, Y));
    return true;
}

} // namespace AreaWarp
