#include "ModAaform.h"

#include "AreaWarp.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

std::array<PointD, 16> PolyPts{};
qint32 PolyCount = 0;
std::array<PointD, 16> SortedPts{};
qint32 SortedCount = 0;
std::array<PointD, 4> QuadRel{};
std::vector<PointD> WarpGrid;
std::array<PointD, 4> UnitCell{{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
std::array<qint32, 4> NextCorner{1, 2, 3, 0};

namespace {

constexpr double SnapTolerance = 1E-9;
constexpr double HalfTurnConstant = 3.14159265358979;

// Rounds to the nearest whole number, exact halves to the even neighbour.
double roundHalfEven(double v)
{
    const double f = std::floor(v);
    const double rest = v - f;
    if (rest < 0.5)
        return f;
    if (rest > 0.5)
        return f + 1;
    return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

qint32 toLong(double v)
{
    if (std::isnan(v))
        return 0;
    constexpr double lo = std::numeric_limits<qint32>::min();
    constexpr double hi = std::numeric_limits<qint32>::max();
    return static_cast<qint32>(std::clamp(v, lo, hi));
}

bool allFinite(const Corners& X, const Corners& Y)
{
    for (int i = 0; i < 4; ++i)
        if (!std::isfinite(X[i]) || !std::isfinite(Y[i]))
            return false;
    return true;
}

QImage asRgb32(const QImage& image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

void resetOverlapState()
{
    PolyPts.fill(PointD{});
    SortedPts.fill(PointD{});
    QuadRel.fill(PointD{});
    PolyCount = 0;
    SortedCount = 0;
    UnitCell = {{{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    NextCorner = {1, 2, 3, 0};
}

} // namespace

// ---------------------------------------------------------------------------
// Numeric routines
// ---------------------------------------------------------------------------

double CosDeg(double a)
{
    const double q = a / 30;
    if (std::abs(roundHalfEven(q) - q) < SnapTolerance) {
        const double whole = roundHalfEven(a);
        if (whole >= 0 && whole <= 360) {
            switch (static_cast<int>(whole)) {
            case 0:
            case 360:
                return 1;
            case 30:
            case 330:
                return 0.866025403784439;
            case 60:
            case 300:
                return 0.5;
            case 90:
            case 270:
                return 0;
            case 120:
            case 240:
                return -0.5;
            case 150:
            case 210:
                return -0.866025403784439;
            case 180:
                return -1;
            default:
                break;
            }
        }
    }
    return std::cos(a * HalfTurnConstant / 180);
}

double SinDegNeg(double a) { return CosDeg(a + 90); }

qint32 FloorL(double v)
{
    const double r = roundHalfEven(v);
    if (std::abs(r - v) < SnapTolerance)
        return toLong(r);
    const double t = std::trunc(v);
    return t < v ? toLong(t) : toLong(std::trunc(v - 1));
}

qint32 CeilL(double v)
{
    const double r = roundHalfEven(v);
    if (std::abs(r - v) < SnapTolerance)
        return toLong(r);
    const double t = std::trunc(v);
    return t <= v ? toLong(std::trunc(v + 1)) : toLong(t);
}

quint8 ClampByte(double v)
{
    if (!(v > 0)) // also a value that is not a number
        return 0;
    if (v >= 255)
        return 255;
    return static_cast<quint8>(roundHalfEven(v));
}

double MinVar(double a, double b) { return a < b ? a : b; }
double MaxVar(double a, double b) { return a > b ? a : b; }

// ---------------------------------------------------------------------------
// Geometry routines
// ---------------------------------------------------------------------------

bool PointInQuad(const PointD& p)
{
    int sign = 0;
    for (int i = 0; i < 4; ++i) {
        const PointD& a = QuadRel[i];
        const PointD& b = QuadRel[NextCorner[i]];
        const double c = (a.X - p.X) * (b.Y - p.Y) - (b.X - p.X) * (a.Y - p.Y);
        if (c > 0) {
            if (sign == -1)
                return false;
            sign = 1;
        } else if (c < 0) {
            if (sign == 1)
                return false;
            sign = -1;
        }
    }
    return true;
}

void SortPolyByAngle()
{
    if (PolyCount < 3) {
        SortedCount = 0;
        return;
    }
    if (PolyCount == 3) {
        SortedPts[0] = {PolyPts[1].X - PolyPts[0].X, PolyPts[1].Y - PolyPts[0].Y};
        SortedPts[1] = {PolyPts[2].X - PolyPts[0].X, PolyPts[2].Y - PolyPts[0].Y};
        SortedCount = 2;
        return;
    }
    for (int i = 1; i < PolyCount; ++i) {
        PolyPts[i].X -= PolyPts[0].X;
        PolyPts[i].Y -= PolyPts[0].Y;
    }
    SortedCount = 0;
    for (int i = 1; i < PolyCount; ++i) {
        const PointD p = PolyPts[i];
        // A point at the first vertex has no direction; among the others it
        // could split the fan and lose a triangle of the area. It adds nothing
        // to the area, so it is left out.
        if (std::abs(p.X) < SnapTolerance && std::abs(p.Y) < SnapTolerance)
            continue;
        int at = SortedCount;
        for (int k = 0; k < SortedCount; ++k) {
            const PointD& s = SortedPts[k];
            if (s.Y * p.X - p.Y * s.X < 0) {
                at = k;
                break;
            }
        }
        for (int k = SortedCount; k > at; --k)
            SortedPts[k] = SortedPts[k - 1];
        SortedPts[at] = p;
        ++SortedCount;
    }
}

double SortedPolyArea()
{
    if (SortedCount < 2)
        return 0;
    double sum = 0;
    for (int i = 0; i + 1 < SortedCount; ++i)
        sum += SortedPts[i].X * SortedPts[i + 1].Y - SortedPts[i].Y * SortedPts[i + 1].X;
    return std::abs(sum) / 2;
}

double QuadCellOverlap()
{
    PolyCount = 0;
    SortedCount = 0;
    auto append = [](double x, double y) {
        if (PolyCount < static_cast<qint32>(PolyPts.size()))
            PolyPts[PolyCount++] = {x, y};
    };
    for (int i = 0; i < 4; ++i) {
        const PointD p = QuadRel[i];
        const PointD q = QuadRel[NextCorner[i]];
        if (p.X >= 0 && p.X <= 1 && p.Y >= 0 && p.Y <= 1)
            append(p.X, p.Y);
        if (PointInQuad(UnitCell[i]))
            append(UnitCell[i].X, UnitCell[i].Y);
        const double loX = MinVar(p.X, q.X), hiX = MaxVar(p.X, q.X);
        const double loY = MinVar(p.Y, q.Y), hiY = MaxVar(p.Y, q.Y);
        for (double side : {0.0, 1.0}) {
            if (loX < side && side < hiX) {
                const double y = p.Y + (q.Y - p.Y) * (side - p.X) / (q.X - p.X);
                if (y >= 0 && y <= 1)
                    append(side, y);
            }
        }
        for (double side : {0.0, 1.0}) {
            if (loY < side && side < hiY) {
                const double x = p.X + (q.X - p.X) * (side - p.Y) / (q.Y - p.Y);
                if (x >= 0 && x <= 1)
                    append(x, side);
            }
        }
    }
    SortPolyByAngle();
    return SortedPolyArea();
}

bool BuildWarpGrid(qint32 width, qint32 height, const Corners& X, const Corners& Y)
{
    if (width <= 0 || height <= 0 || !allFinite(X, Y))
        return false;
    const qsizetype W = width;
    const qsizetype H = height;
    WarpGrid.assign(static_cast<size_t>((W + 1) * (H + 1)), PointD{});
    double L[4];
    PointD D[4];
    for (int i = 0; i < 4; ++i) {
        const int j = NextCorner[i];
        L[i] = std::sqrt((Y[i] - Y[j]) * (Y[i] - Y[j]) + (X[i] - X[j]) * (X[i] - X[j]));
        // An edge of length 0 has no direction: the quadrilateral is degenerate.
        if (!(L[i] > 0))
            return false;
        D[i] = {(X[j] - X[i]) / L[i], (Y[j] - Y[i]) / L[i]};
    }
    for (qsizetype x = 0; x <= W; ++x) {
        const double u = double(x) / W;
        const PointD T{X[0] + u * L[0] * D[0].X, Y[0] + u * L[0] * D[0].Y};
        const PointD B{X[2] + (1 - u) * L[2] * D[2].X, Y[2] + (1 - u) * L[2] * D[2].Y};
        const double a1 = B.Y - T.Y;
        const double b1 = T.X - B.X;
        const double c1 = T.X * a1 + b1 * T.Y;
        for (qsizetype y = 0; y <= H; ++y) {
            const double v = double(y) / H;
            const PointD P{X[3] + (1 - v) * L[3] * D[3].X, Y[3] + (1 - v) * L[3] * D[3].Y};
            const PointD R{X[1] + v * L[1] * D[1].X, Y[1] + v * L[1] * D[1].Y};
            const double a2 = R.Y - P.Y;
            const double b2 = P.X - R.X;
            const double c2 = P.X * a2 + P.Y * b2;
            const double det = b2 * a1 - b1 * a2;
            if (std::abs(det) < SnapTolerance)
                return false;
            WarpGrid[static_cast<size_t>((W + 1) * y + x)] = {(c1 * b2 - c2 * b1) / det, (c2 * a1 - c1 * a2) / det};
        }
    }
    return true;
}

// ---------------------------------------------------------------------------
// The warp and the rotation
// ---------------------------------------------------------------------------

namespace {

// AAWarpBitmap. background, when given, is the colour the whole target
// stands for: its pixels need not be set yet, and after a warp that fails or
// is stopped (false) the caller fills it.
bool warpBitmap(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                const RotateProgress& callback, const QRgb* background)
{
    if (source.isNull() || target.isNull() || !allFinite(X, Y))
        return false;
    resetOverlapState();
    WarpGrid.clear();
    const QImage src = asRgb32(source);
    const int W = src.width();
    const int H = src.height();

    // The target region: the whole pixels the quadrilateral may touch, as far
    // as they lie in the target.
    qint32 minX = FloorL(X[0]), minY = FloorL(Y[0]);
    qint32 maxX = std::max(0, CeilL(X[0])), maxY = std::max(0, CeilL(Y[0]));
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, FloorL(X[i]));
        minY = std::min(minY, FloorL(Y[i]));
        maxX = std::max(maxX, CeilL(X[i]));
        maxY = std::max(maxY, CeilL(Y[i]));
    }
    AreaWarp::Region region;
    region.left = std::max(0, minX);
    region.top = std::max(0, minY);
    region.right = std::max(region.left, std::min(maxX, target.width()));
    region.bottom = std::max(region.top, std::min(maxY, target.height()));

    // The warps leave the target as it was when they fail or are stopped.
    const bool direct = target.format() == QImage::Format_RGB32;
    if (!direct)
        background = nullptr;
    auto fillBackground = [&] {
        if (background)
            target.fill(*background);
    };
    QImage converted = direct ? QImage() : target.convertToFormat(QImage::Format_RGB32);
    QImage& out = direct ? target : converted;
    bool written = false;
    // A parallelogram (every turned picture is one) maps the source's pixel
    // corners affinely; any other quadrilateral goes through the grid.
    const double ex = X[1] - X[0], ey = Y[1] - Y[0];
    const double fx = X[3] - X[0], fy = Y[3] - Y[0];
    const double scale = 1 + std::abs(ex) + std::abs(ey) + std::abs(fx) + std::abs(fy);
    const bool parallelogram = std::abs((X[2] - X[3]) - ex) <= SnapTolerance * scale
                               && std::abs((Y[2] - Y[3]) - ey) <= SnapTolerance * scale;
    if (parallelogram) {
        // The grid lines through every corner cross at the angle of the
        // parallelogram's sides: parallel sides mean a degenerate grid.
        if (std::abs(ex * fy - ey * fx) < SnapTolerance)
            return false;
        AreaWarp::Affine m;
        m.x0 = X[0];
        m.y0 = Y[0];
        m.ax = ex / W;
        m.ay = ey / W;
        m.bx = fx / H;
        m.by = fy / H;
        int steps[4];
        if (AreaWarp::WholePixelSteps(m, W, H, steps)) {
            written = AreaWarp::WarpWholePixels(src, out, m, steps, callback, background);
        } else {
            fillBackground();
            written = AreaWarp::WarpAffine(src, out, m, X, Y, region, callback, background);
        }
    } else {
        if (!BuildWarpGrid(W, H, X, Y))
            return false;
        // The grid is kept apart from the module's, so that a rotation started
        // while this one reports its progress cannot change it.
        std::vector<PointD> grid;
        grid.swap(WarpGrid);
        fillBackground();
        written = AreaWarp::WarpGrid(src, out, grid, X, Y, region, callback);
    }
    if (written && !direct)
        target = converted;
    return written;
}

// warpBitmap, with a picture too large for the working memory of the warp
// treated as a warp that fails: nothing is drawn.
bool warpOrNothing(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                   const RotateProgress& callback, const QRgb* background)
{
    try {
        return warpBitmap(source, target, X, Y, callback, background);
    } catch (const std::bad_alloc&) {
        return false;
    }
}

} // namespace

bool AAWarpBitmap(const QImage& source, QImage& target, const Corners& X, const Corners& Y,
                  const RotateProgress& callback)
{
    return warpOrNothing(source, target, X, Y, callback, nullptr);
}

QImage WarpToNewBitmap(const QImage& source, Corners& X, Corners& Y, const RotateProgress& callback,
                       QRgb backColour)
{
    if (!allFinite(X, Y))
        return QImage();
    double minX = X[0], minY = Y[0];
    for (int i = 1; i < 4; ++i) {
        minX = std::min(minX, X[i]);
        minY = std::min(minY, Y[i]);
    }
    qint32 width = 0, height = 0;
    for (int i = 0; i < 4; ++i) {
        X[i] -= minX;
        Y[i] -= minY;
        width = std::max(width, CeilL(X[i]));
        height = std::max(height, CeilL(Y[i]));
    }
    QImage target(width, height, QImage::Format_RGB32);
    if (target.isNull())
        return target;
    // The bitmap stands for the background colour until the warp writes it;
    // a warp that fails or is stopped leaves the background alone.
    const QRgb background = backColour | 0xFF000000u;
    if (!warpOrNothing(source, target, X, Y, callback, &background))
        target.fill(background);
    return target;
}

QImage RotateBitmap(const QImage& bitmap, double angle, const RotateProgress& callback, QRgb backColour)
{
    if (bitmap.isNull())
        return QImage();
    const double c = CosDeg(angle);
    const double s = SinDegNeg(angle);
    const double hw = bitmap.width() / 2.0;
    const double hh = bitmap.height() / 2.0;
    const PointD corner[4] = {{-hw, -hh}, {hw, -hh}, {hw, hh}, {-hw, hh}};
    Corners X, Y;
    for (int i = 0; i < 4; ++i) {
        X[i] = corner[i].X * c - corner[i].Y * s;
        Y[i] = corner[i].Y * c + corner[i].X * s;
    }
    return WarpToNewBitmap(bitmap, X, Y, callback, backColour);
}

QImage RotatePicture(const QImage& pic, double angle, const RotateProgress& callback, QRgb backColour)
{
    if (pic.isNull() || !std::isfinite(angle))
        return QImage();
    return RotateBitmap(pic, angle, callback, backColour);
}

QPixmap RotatePicture(const QPixmap& pic, double angle, const RotateProgress& callback, QRgb backColour)
{
    if (pic.isNull())
        return QPixmap();
    return QPixmap::fromImage(RotatePicture(pic.toImage(), angle, callback, backColour));
}
