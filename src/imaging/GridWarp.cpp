#include "AreaWarp.h"
#include "WarpSupport.h"

#include <cmath>

// The warp onto a quadrilateral that is not a parallelogram, through its grid
// of mapped source pixel corners. Nothing in the program asks for one; the
// warp is exact rather than fast.
//
// The warped source is a field that is constant on every warped source
// pixel, and such a field is the sum of its edges: each grid edge carries the
// difference of the colours on its two sides, the picture's outline the
// colour against nothing. For each piece of an edge within a target row, the
// area between it and the row's right-hand end is laid down as differences
// along the row (its share in the cells it passes through, the rest in the
// cell after them). A running sum along every row then gives each target
// pixel the exact integral of the field over it. A fourth lane, 1 inside the
// picture, gives the coverage.

namespace AreaWarp {
namespace {

// Red, green, blue and coverage.
struct Lanes {
    double v[4] = {0, 0, 0, 0};
};

inline Lanes lanesOf(QRgb p) { return Lanes{{double(qRed(p)), double(qGreen(p)), double(qBlue(p)), 1.0}}; }

inline Lanes minus(const Lanes& a, const Lanes& b)
{
    Lanes r;
    for (int k = 0; k < 4; ++k)
        r.v[k] = a.v[k] - b.v[k];
    return r;
}

// The differences laid down along the rows of the region. Each row keeps
// only the cells that the quadrilateral reaches, with a margin of a cell.
class Accumulator {
public:
    // (X, Y): the quadrilateral in region coordinates.
    Accumulator(int width, int height, const Corners& X, const Corners& Y) : m_width(width), m_height(height)
    {
        m_rows.resize(static_cast<size_t>(height));
        size_t total = 0;
        for (int r = 0; r < height; ++r) {
            double lo = 0, hi = 0;
            int left = 0, right = 0;
            if (SpanInBand(X, Y, r, r + 1, lo, hi)) {
                left = static_cast<int>(std::clamp(std::floor(lo) - 1, 0.0, double(width)));
                right = static_cast<int>(std::clamp(std::ceil(hi) + 1, double(left), double(width)));
            }
            Row& row = m_rows[static_cast<size_t>(r)];
            row.left = left;
            row.right = right;
            row.start = total;
            // Cells left .. right, and two more for a piece at the right end.
            total += static_cast<size_t>(right - left) + 3;
        }
        m_cells.resize(total);
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
        const double top = std::max(y0, 0.0);
        const double bottom = std::min(y1, double(m_height));
        int r = static_cast<int>(top);
        double ya = top;
        double xa = x0 + (ya - y0) * dxdy;
        while (ya < bottom && r < m_height) {
            const double yb = std::min(bottom, double(r + 1));
            const double xb = x0 + (yb - y0) * dxdy;
            addPiece(r, xa, xb, (yb - ya) * dir, w);
            ya = yb;
            xa = xb;
            ++r;
        }
    }

    // Turns the differences into cell values and composites the covered
    // pixels into the target (bits, stride in pixels). sign makes the areas
    // positive whichever way the quadrilateral winds.
    void Composite(QRgb* bits, qsizetype stride, const Region& region, double sign) const
    {
        for (int r = 0; r < m_height; ++r) {
            const Row& row = m_rows[static_cast<size_t>(r)];
            const Lanes* cells = m_cells.data() + row.start;
            QRgb* out = bits + stride * (region.top + r) + region.left;
            double s[4] = {0, 0, 0, 0};
            for (int i = row.left; i <= std::min(row.right, m_width - 1); ++i) {
                for (int k = 0; k < 4; ++k)
                    s[k] += cells[i - row.left].v[k];
                AreaWarp::Composite(out[i], sign * s[3], sign * s[0], sign * s[1], sign * s[2]);
            }
        }
    }

private:
    // Adds m times w to cell i of row r (kept within the row's cells).
    void add(int r, int i, double m, const Lanes& w)
    {
        const Row& row = m_rows[static_cast<size_t>(r)];
        Lanes& cell = m_cells[row.start + static_cast<size_t>(std::clamp(i, row.left, row.right + 2) - row.left)];
        for (int k = 0; k < 4; ++k)
            cell.v[k] += m * w.v[k];
    }

    // The piece of a segment in row r from x = xa to x = xb over the signed
    // height d. The part left of the region is left of every cell; the part
    // right of it is right of every cell and changes none.
    void addPiece(int r, double xa, double xb, double d, const Lanes& w)
    {
        const double width = m_width;
        double lo = std::min(xa, xb);
        double hi = std::max(xa, xb);
        if (!(lo < width))
            return;
        if (!(hi > 0)) {
            add(r, 0, d, w);
            return;
        }
        if (lo < 0 || hi > width) {
            // x runs evenly along the piece, so the parts' heights go by length.
            const double length = hi - lo;
            const double left = lo < 0 ? d * (-lo / length) : 0.0;
            const double right = hi > width ? d * ((hi - width) / length) : 0.0;
            add(r, 0, left, w);
            d -= left + right;
            lo = std::max(lo, 0.0);
            hi = std::min(hi, width);
        }
        const int i0 = static_cast<int>(lo);
        const int i1 = std::max(i0 + 1, static_cast<int>(std::ceil(hi)));
        if (i1 == i0 + 1) {
            const double mid = 0.5 * (lo + hi) - i0;
            add(r, i0, d * (1 - mid), w);
            add(r, i0 + 1, d * mid, w);
            return;
        }
        // The piece crosses the cells i0 .. i1 - 1 evenly in y; each cell gets
        // the area right of the piece within it, the next the rest.
        const double s = d / (hi - lo);
        const double f0 = (i0 + 1) - lo;
        const double f1 = hi - (i1 - 1);
        const double first = 0.5 * s * f0 * f0;
        const double last = 0.5 * s * f1 * f1;
        double laid = first;
        add(r, i0, first, w);
        for (int i = i0 + 1; i < i1 - 1; ++i) {
            const double through = s * (i + 0.5 - lo); // the area up to the end of cell i
            add(r, i, through - laid, w);
            laid = through;
        }
        add(r, i1 - 1, d - last - laid, w);
        add(r, i1, last, w);
    }

    struct Row {
        int left = 0; // the first cell kept
        int right = 0;
        size_t start = 0;
    };
    int m_width;
    int m_height;
    std::vector<Row> m_rows;
    std::vector<Lanes> m_cells;
};

} // namespace

bool WarpGrid(const QImage& src, QImage& target, const std::vector<PointD>& grid, const Corners& X,
              const Corners& Y, const Region& region, const RotateProgress& callback)
{
    const int W = src.width();
    const int H = src.height();
    Corners rx, ry;
    for (size_t i = 0; i < 4; ++i) {
        rx[i] = X[i] - region.left;
        ry[i] = Y[i] - region.top;
    }
    Accumulator acc(region.right - region.left, region.bottom - region.top, rx, ry);
    const qsizetype gridStride = qsizetype(W) + 1;
    auto edge = [&](int x0, int y0, int x1, int y1, const Lanes& w) {
        const PointD& p = grid[static_cast<size_t>(gridStride * y0 + x0)];
        const PointD& q = grid[static_cast<size_t>(gridStride * y1 + x1)];
        acc.AddEdge(p.X - region.left, p.Y - region.top, q.X - region.left, q.Y - region.top, w);
    };
    // The colour of a source pixel; nothing outside the picture.
    auto colour = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= W || y >= H)
            return Lanes{};
        return lanesOf(reinterpret_cast<const QRgb*>(src.constScanLine(y))[x]);
    };
    // Edges from corner (x, y) down to (x, y + 1) carry the colour on their
    // left less the colour on their right; edges from (x, y) across to
    // (x + 1, y) the colour below them less the colour above.
    auto downLine = [&](int x) {
        for (int y = 0; y < H; ++y)
            edge(x, y, x, y + 1, minus(colour(x - 1, y), colour(x, y)));
    };
    for (int x = 0; x < W; ++x) {
        downLine(x);
        for (int y = 0; y <= H; ++y)
            edge(x, y, x + 1, y, minus(colour(x, y), colour(x, y - 1)));
        if (x == W - 1)
            downLine(W);
        if (!ReportColumn(callback, x, W))
            return false;
    }
    // The areas come out negative for a quadrilateral that winds like the
    // source itself (clockwise on the screen).
    const double cross = (X[1] - X[0]) * (Y[3] - Y[0]) - (Y[1] - Y[0]) * (X[3] - X[0]);
    acc.Composite(reinterpret_cast<QRgb*>(target.bits()), target.bytesPerLine() / 4, region, cross > 0 ? -1 : 1);
    return true;
}

} // namespace AreaWarp
