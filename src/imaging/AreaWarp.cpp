#include "AreaWarp.h"

#include <algorithm>
#include <array>
#include <cmath>

// How the areas are found.
//
// The warped source is a field that is constant on every warped source
// pixel. Such a field equals the sum of its edges: each grid edge of the
// source carries the difference of the colours on its two sides, the
// picture's outline the colour against nothing. For one directed segment
// the signed area between it and the right-hand end of every row band it
// crosses is laid down as differences along that row (the segment's share of
// the cell it passes through, the rest in the next cells); a running sum
// along each row then gives every cell the exact integral of the field over
// it, and the coverage likewise from a fourth lane that carries 1 inside the
// picture.
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
        lo = any ? std::min(lo, x) : x;
        hi = any ? std::max(hi, x) : x;
        any = true;
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
// only the cells that the quadrilateral reaches, with a margin of a cell.
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
            start[static_cast<size_t>(r)] = total;
            // Cells left .. right, and two more that a piece ending at the
            // right end lays its remainder into.
            total += static_cast<size_t>(right - left) + 3;
        }
        m_cells.assign(total, Lanes{{0, 0, 0, 0}});
        for (int r = 0; r < height; ++r)
            m_rows[static_cast<size_t>(r)].base = m_cells.data() + start[static_cast<size_t>(r)];
    }

    int Width() const { return m_width; }
    int Height() const { return m_height; }

    // Lays k0, k1, k2 times w into the cells i0, i0 + 1, i0 + 2 of row r.
    void Deposit(int r, int i0, double k0, double k1, double k2, Lanes w)
    {
        const Row& row = m_rows[static_cast<size_t>(r)];
        Lanes* __restrict c = row.base + (std::clamp(i0, row.left, row.right) - row.left);
        addScaled(c[0], k0, w);
        addScaled(c[1], k1, w);
        addScaled(c[2], k2, w);
    }

    // A directed segment between two points, of any length and direction.
    void AddEdge(double x0, double y0, double x1, double y1, const Lanes& w)
    {
        if (!(y0 != y1))
            return;
        double dir = 1;
        if (y0 > y1) {
            std::swap(x0, x1);
            std::swap(y0, y1);
            dir = -1;
        }
        const double dxdy = (x1 - x0) / (y1 - y0);
        const double ya0 = std::max(y0, 0.0);
        const double yb0 = std::min(y1, double(m_height));
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

    // The piece of a segment in row r from x = xa to x = xb over the signed
    // height d, of any width and anywhere. The part left of the region is
    // left of every cell; the part right of it is right of every cell and
    // changes none.
    void AddPiece(int r, double xa, double xb, double d, const Lanes& w)
    {
        const double width = m_width;
        double lo = std::min(xa, xb);
        double hi = std::max(xa, xb);
        if (!(lo < width))
            return;
        if (!(hi > 0)) {
            Deposit(r, 0, d, 0, 0, w);
            return;
        }
        if (lo < 0 || hi > width) {
            // x runs evenly along the piece, so the parts' heights go by length.
            const double length = hi - lo;
            const double left = lo < 0 ? d * (-lo / length) : 0.0;
            const double right = hi > width ? d * ((hi - width) / length) : 0.0;
            Deposit(r, 0, left, 0, 0, w);
            d -= left + right;
            lo = std::max(lo, 0.0);
            hi = std::min(hi, width);
        }
        const int i0 = static_cast<int>(lo);
        const int i1 = std::max(i0 + 1, static_cast<int>(std::ceil(hi)));
        if (i1 == i0 + 1) {
            const double mid = 0.5 * (lo + hi) - i0;
            Deposit(r, i0, d * (1 - mid), d * mid, 0, w);
            return;
        }
        // The piece crosses the cells i0 .. i1 - 1; each cell gets the area
        // right of the piece within it, the next the rest.
        const double s = d / (hi - lo);
        const double f0 = (i0 + 1) - lo;
        const double f1 = hi - (i1 - 1);
        const double first = 0.5 * s * f0 * f0;
        const double last = 0.5 * s * f1 * f1;
        double laid = first;
        Deposit(r, i0, first, 0, 0, w);
        for (int i = i0 + 1; i < i1 - 1; ++i) {
            const double through = s * (i + 0.5 - lo); // cumulative up to the end of cell i
            Deposit(r, i, through - laid, 0, 0, w);
            laid = through;
        }
        Deposit(r, i1 - 1, d - last - laid, last, 0, w);
    }

    // Turns the differences of rows r0 .. r1 - 1 into cell values and writes
    // the covered pixels into the target (bits, stride in pixels). sign makes
    // the areas positive whichever way the quadrilateral winds.
    void Composite(QRgb* bits, qsizetype stride, const Region& region, double sign, int r0, int r1) const
    {
        for (int r = r0; r < r1; ++r) {
            const Row& row = m_rows[static_cast<size_t>(r)];
            const int end = std::min(row.right, m_width - 1);
            QRgb* out = bits + stride * (region.top + r) + region.left;
            double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            for (int i = row.left; i <= end; ++i) {
                const Lanes& c = row.base[i - row.left];
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
        int left = 0; // the cell at base[0]
        int right = 0;
        Lanes* base = nullptr;
    };
    int m_width;
    int m_height;
    std::vector<Row> m_rows;
    std::vector<Lanes> m_cells;
};

// Grid edges of a source, a handful at a time: corner (x, y) where each
// starts and the colour difference it carries.
struct EdgeBatch {
    static constexpr int Capacity = 32;
    int n = 0;
    int x[Capacity];
    int y[Capacity];
    Lanes w[Capacity];

    void Add(int ex, int ey, const Lanes& ew)
    {
        x[n] = ex;
        y[n] = ey;
        w[n] = ew;
        ++n;
    }
};

// Source columns go in blocks of this many.
constexpr int Block = 16;
static_assert(Block + 1 <= EdgeBatch::Capacity);

int blockCount(int W) { return (W + Block - 1) / Block; }

// Visits the grid edges of the source columns of block b whose grid row lies
// in yFirst..yLast, with the colour difference each carries, a grid row at a
// time: across edges run from corner (x, y) to (x + 1, y) and carry the colour
// below them less the colour above; down edges run from (x, y) to (x, y + 1)
// and carry the colour on their left less the colour on their right (the last
// block has the grid line x = W too). Outside the picture the colour is 0 and
// so is the coverage lane. Edges that carry nothing (inside an area of one
// colour) are left out. The edges handed over together lie side by side in
// the target, so that the accumulator's rows stay in the cache.
template <class Across, class Down>
void visitBlock(const QImage& src, int b, int yFirst, int yLast, Across across, Down down)
{
    const int W = src.width();
    const int H = src.height();
    const uchar* bits = src.constBits();
    const qsizetype bpl = src.bytesPerLine();
    const int x0 = b * Block;
    const int x1 = std::min(W, x0 + Block);
    const int count = x1 - x0;
    const int lastLine = x1 == W ? W : x1 - 1;
    const Lanes nothing{{0, 0, 0, 0}};
    // Colours of source columns x0 - 1 .. x1 - 1 in the rows above and below
    // the current grid line; index 0 is column x0 - 1.
    std::array<Lanes, Block + 1> above, below;
    auto load = [&](int y, std::array<Lanes, Block + 1>& row) {
        if (y < 0 || y >= H) {
            row.fill(nothing);
            return;
        }
        const QRgb* line = reinterpret_cast<const QRgb*>(bits + bpl * y);
        row[0] = x0 > 0 ? lanesOf(line[x0 - 1]) : nothing;
        for (int i = 0; i < count; ++i)
            row[static_cast<size_t>(i + 1)] = lanesOf(line[x0 + i]);
    };
    load(yFirst - 1, above);
    EdgeBatch batch;
    for (int y = yFirst; y <= yLast; ++y) {
        load(y, below);
        batch.n = 0;
        for (int i = 0; i < count; ++i) {
            const size_t k = static_cast<size_t>(i + 1);
            const Lanes w = minus(below[k], above[k]);
            if (!isZero(w))
                batch.Add(x0 + i, y, w);
        }
        if (batch.n)
            across(batch);
        if (y < H) {
            batch.n = 0;
            for (int x = x0; x <= lastLine; ++x) {
                const size_t k = static_cast<size_t>(x - x0);
                const Lanes w = x < W ? minus(below[k], below[k + 1]) : below[k];
                if (!isZero(w))
                    batch.Add(x, y, w);
            }
            if (batch.n)
                down(batch);
        }
        std::swap(above, below);
    }
}

// Calls the progress procedure for the columns of block b; false when it asks to stop.
bool reportBlock(const RotateProgress& callback, int b, int W)
{
    for (int x = b * Block; x < std::min(W, (b + 1) * Block); ++x)
        if (!reportColumn(callback, x, W))
            return false;
    return true;
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
    // A target of one known colour that the picture fills is written in
    // place: should the warp be stopped, it is filled with that colour again.
    // Otherwise the warp writes a copy.
    const bool inPlace = background && inside && firstX == 0 && firstY == 0 && lastX == dstW - 1 && lastY == dstH - 1;
    QImage copy = inPlace ? QImage() : target.copy();
    QImage& out = inPlace ? target : copy;
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
        for (int x = x0; x < x1; ++x) {
            if (!reportColumn(callback, x, W)) {
                if (inPlace)
                    target.fill(*background);
                return false;
            }
        }
    }
    if (!inPlace)
        target = copy;
    return true;
}

bool WarpGrid(const QImage& src, QImage& target, const std::vector<PointD>& grid, const Corners& X,
              const Corners& Y, const Region& region, const RotateProgress& callback)
{
    const int W = src.width();
    const int H = src.height();
    Accumulator acc(region.right - region.left, region.bottom - region.top, relative(X, region.left),
                    relative(Y, region.top));
    QRgb* bits = reinterpret_cast<QRgb*>(target.bits());
    const qsizetype stride = target.bytesPerLine() / 4;
    const qsizetype gridStride = qsizetype(W) + 1;
    auto at = [&](int x, int y) -> const PointD& { return grid[static_cast<size_t>(gridStride * y + x)]; };
    auto add = [&](const EdgeBatch& b, int dx, int dy) {
        for (int e = 0; e < b.n; ++e) {
            const PointD& p = at(b.x[e], b.y[e]);
            const PointD& q = at(b.x[e] + dx, b.y[e] + dy);
            acc.AddEdge(p.X - region.left, p.Y - region.top, q.X - region.left, q.Y - region.top, b.w[e]);
        }
    };
    for (int b = 0; b < blockCount(W); ++b) {
        visitBlock(
            src, b, 0, H, [&](const EdgeBatch& e) { add(e, 1, 0); }, [&](const EdgeBatch& e) { add(e, 0, 1); });
        if (!reportBlock(callback, b, W))
            return false;
    }
    acc.Composite(bits, stride, region, windingSign(X, Y), 0, acc.Height());
    return true;
}

} // namespace AreaWarp
