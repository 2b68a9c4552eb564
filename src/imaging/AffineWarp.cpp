#include "AreaWarp.h"

#include <algorithm>
#include <atomic>
#include <barrier>
#include <climits>
#include <cstdlib>
#include <cmath>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// The warp onto a parallelogram (every turned picture), target pixel by
// target pixel.
//
// A target pixel's colour needs the integral of the source picture over the
// pixel's preimage in the source, a small parallelogram. By Green's theorem
// that integral is the integral of G dv around the preimage's border, where
// G(u, v) is the integral of the source along its row v from the row's
// start to u. Along a straight piece of border within one source row G is
// integrated in closed form from Hk(u), the integral of G over the row k up
// to u: a piece from u0 to u1 with slope rho = dv / du contributes
// rho * (Hk(u1) - Hk(u0)). Hk is a quadratic between whole u and is looked up
// from a table of its values at whole u made once per source row.
//
// So every target pixel corner is looked up once, and every target pixel
// edge once more for each source row boundary it crosses. Where a border
// runs almost upright in the source (rho large, a near-quarter turn) the
// closed form would lose digits; such edges are summed piece by piece from
// G itself instead.
//
// The same integral with the indicator of the picture gives the coverage.
// Both are exact up to floating-point rounding.

namespace AreaWarp {
namespace {

// Red, green, blue and coverage, as one vector the compiler maps onto the
// machine's vector registers.
using Lanes = double __attribute__((vector_size(32)));
using FloatLanes = float __attribute__((vector_size(16)));

constexpr Lanes Nothing{0, 0, 0, 0};

inline Lanes lanesOf(QRgb p) { return Lanes{double(qRed(p)), double(qGreen(p)), double(qBlue(p)), 1.0}; }

// The nearest whole number, halves to even, within 0..255 (ClampByte).
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

// Floor of a value known to lie well within -1e9 .. 1e9.
inline int floorSmall(double v) { return static_cast<int>(v + 1e9) - 1000000000; }

// The integrals of the source's rows. Row k holds, for c = 0 .. W + 1,
// Hk(c) for the red, green and blue lanes and for the coverage lane (the
// picture's indicator: c * c / 2), and the pixel (c, k) itself (0 beyond the
// row's end). Beyond W every Hk goes on in a straight line.
class RowIntegrals {
public:
    explicit RowIntegrals(const QImage& src)
        : m_W(src.width()), m_H(src.height()), m_stride(static_cast<size_t>(m_W) + 2), m_src(src),
          m_q(new Lanes[m_stride * static_cast<size_t>(m_H)]), m_s(new FloatLanes[m_stride * static_cast<size_t>(m_H)])
    {
    }

    void Build(int k0, int k1)
    {
        for (int k = k0; k < k1; ++k) {
            Lanes* q = m_q.get() + m_stride * static_cast<size_t>(k);
            FloatLanes* s = m_s.get() + m_stride * static_cast<size_t>(k);
            const QRgb* line = reinterpret_cast<const QRgb*>(m_src.constScanLine(k));
            Lanes h = Nothing, g = Nothing; // Hk and Gk at the current whole u
            q[0] = h;
            for (int c = 0; c < m_W; ++c) {
                const QRgb p = line[c];
                const FloatLanes v{float(qRed(p)), float(qGreen(p)), float(qBlue(p)), 1.0f};
                const Lanes d = __builtin_convertvector(v, Lanes);
                s[c] = v;
                h += g + 0.5 * d;
                g += d;
                q[c + 1] = h;
            }
            s[m_W] = s[m_W + 1] = FloatLanes{0, 0, 0, 0};
            q[m_W + 1] = h + g;
        }
    }

    // Hk(u); 0 for a row outside the picture.
    Lanes H(int k, double u) const
    {
        if (static_cast<unsigned>(k) >= static_cast<unsigned>(m_H))
            return Nothing;
        const At at = locate(k, u);
        // Hk(c + f) = Hk(c) + f (Hk(c+1) - Hk(c)) - s f (1 - f) / 2, s the pixel (c, k).
        return at.q[0] + at.f * (at.q[1] - at.q[0]) - (0.5 * at.f * (1 - at.f)) * pixel(at);
    }

    // Hk(u) - Hj(u).
    Lanes HDifference(int k, int j, double u) const { return H(k, u) - H(j, u); }

    // Gk(u), the integral of row k from its start to u; 0 outside the picture's rows.
    Lanes G(int k, double u) const
    {
        if (static_cast<unsigned>(k) >= static_cast<unsigned>(m_H))
            return Nothing;
        const At at = locate(k, u);
        // Gk(c + f) = Hk(c+1) - Hk(c) + s (f - 1/2).
        return at.q[1] - at.q[0] + (at.f - 0.5) * pixel(at);
    }

private:
    struct At {
        const Lanes* q;
        const FloatLanes* s;
        double f;
    };
    At locate(int k, double u) const
    {
        const double uc = std::max(u, 0.0);
        const int c = static_cast<int>(std::min(uc, double(m_W)));
        const size_t i = m_stride * static_cast<size_t>(k) + static_cast<size_t>(c);
        return At{m_q.get() + i, m_s.get() + i, uc - c};
    }
    static Lanes pixel(const At& at) { return __builtin_convertvector(*at.s, Lanes); }

    int m_W;
    int m_H;
    size_t m_stride;
    QImage m_src;
    std::unique_ptr<Lanes[]> m_q;
    std::unique_ptr<FloatLanes[]> m_s;
};

// The target pixel edges of one direction, as the source sees them: every
// such edge is the vector (du, dv) in source coordinates.
struct EdgeFamily {
    double du = 0, dv = 0;
    bool closedForm = true; // through H; otherwise piece by piece through G
    double rho = 0;         // dv / du
    double uPerV = 0;       // du / dv

    EdgeFamily(double du_, double dv_) : du(du_), dv(dv_)
    {
        // The closed form divides by du: it is used while |dv / du| <= 64.
        closedForm = std::abs(dv) <= 64 * std::abs(du);
        rho = closedForm ? dv / du : 0;
        uPerV = dv != 0 ? du / dv : 0;
    }

    // The integral of G dv along the edge from (u0, v0), given Hc at both
    // ends (H of the end's own row at the end) when in closed form.
    Lanes Integral(const RowIntegrals& rows, double u0, double v0, const Lanes& h0, const Lanes& h1) const
    {
        if (closedForm) {
            Lanes r = rho * (h1 - h0);
            if (dv == 0)
                return r;
            // Each source row boundary crossed: the piece before it is in
            // the row left, the piece after it in the row entered.
            const int k0 = floorSmall(v0);
            const int k1 = floorSmall(v0 + dv);
            if (k1 > k0) {
                for (int b = k0 + 1; b <= k1; ++b)
                    r = r + rho * rows.HDifference(b - 1, b, u0 + (b - v0) * uPerV);
            } else {
                for (int b = k0; b > k1; --b)
                    r = r + rho * rows.HDifference(b, b - 1, u0 + (b - v0) * uPerV);
            }
            return r;
        }
        // Piece by piece: within a source row and a source column G is
        // linear along the edge, so each piece is its height times G at
        // its middle.
        Lanes r = Nothing;
        const double v1 = v0 + dv;
        const double step = dv > 0 ? 1 : -1;
        double va = v0;
        while (va != v1) {
            // The next row boundary in the edge's direction, or its end.
            const int k = floorSmall(va);
            double vb = dv > 0 ? k + 1.0 : (va == k ? k - 1.0 : double(k));
            if ((vb - v1) * step > 0)
                vb = v1;
            const int row = floorSmall(0.5 * (va + vb));
            const double ua = u0 + (va - v0) * uPerV;
            const double ub = u0 + (vb - v0) * uPerV;
            // Split at whole u.
            const double lo = std::min(ua, ub), hi = std::max(ua, ub);
            const double length = hi - lo;
            double at = lo;
            while (at < hi) {
                const double next = std::min(hi, std::floor(at) + 1);
                const double share = length > 0 ? (next - at) / length : 1.0;
                r = r + (share * (vb - va)) * rows.G(row, 0.5 * (at + next));
                at = next;
            }
            if (length == 0)
                r = r + (vb - va) * rows.G(row, lo);
            va = vb;
        }
        return r;
    }
};

// A band of target rows; writes its pixels into the target as it goes.
class BandWorker {
public:
    BandWorker(const RowIntegrals& rows, const Affine& m, const Corners& X, const Corners& Y, const Region& region,
               QRgb* bits, qsizetype stride)
        : m_rows(rows), m_region(region), m_bits(bits), m_stride(stride)
    {
        const int width = region.right - region.left;
        const int height = region.bottom - region.top;
        // Target point p maps to the source point M^-1 (p - corner 0), M the
        // matrix with columns a and b.
        m_det = m.ax * m.by - m.ay * m.bx;
        const double ox = m.x0 - region.left, oy = m.y0 - region.top;
        m_u0 = (m.by * (0 - ox) - m.bx * (0 - oy)) / m_det;
        m_v0 = (-m.ay * (0 - ox) + m.ax * (0 - oy)) / m_det;
        m_alpha = {m.by / m_det, -m.ay / m_det};  // the source step of one target pixel right
        m_beta = {-m.bx / m_det, m.ax / m_det};   // and of one target pixel down
        // Cells of each row that the parallelogram can reach, with a margin.
        m_first.resize(static_cast<size_t>(height));
        m_last.resize(static_cast<size_t>(height));
        Corners rx, ry;
        for (int i = 0; i < 4; ++i) {
            rx[static_cast<size_t>(i)] = X[static_cast<size_t>(i)] - region.left;
            ry[static_cast<size_t>(i)] = Y[static_cast<size_t>(i)] - region.top;
        }
        for (int r = 0; r < height; ++r) {
            double lo = 0, hi = -1;
            int first = 0, last = -1;
            if (spanInBand(rx, ry, r, r + 1, lo, hi)) {
                first = static_cast<int>(std::clamp(std::floor(lo) - 1, 0.0, double(width - 1)));
                last = static_cast<int>(std::clamp(std::ceil(hi) + 1, 0.0, double(width - 1)));
            }
            m_first[static_cast<size_t>(r)] = first;
            m_last[static_cast<size_t>(r)] = last;
        }
        const size_t corners = static_cast<size_t>(width) + 2;
        for (auto* buffer : {&m_hTop, &m_hBottom, &m_acrossTop, &m_acrossBottom, &m_down})
            buffer->assign(corners, Nothing);
    }

    // Computes and writes the cells i0 .. i1 - 1 of target rows j0 .. j1 - 1
    // (region coordinates), going down the rows; stops early when stop says
    // so. A narrow strip keeps the source rows it reads in the cache.
    void RunStrip(int j0, int j1, int i0, int i1, const std::atomic<bool>& stop)
    {
        if (j0 >= j1 || i0 >= i1)
            return;
        const EdgeFamily across(m_alpha.du, m_alpha.dv);
        const EdgeFamily down(m_beta.du, m_beta.dv);
        auto cells = [&](int r) { // the row's cells in the strip
            if (r < 0 || r >= int(m_first.size()))
                return std::pair{0, -1};
            return std::pair{std::max(m_first[static_cast<size_t>(r)], i0),
                             std::min(m_last[static_cast<size_t>(r)], i1 - 1)};
        };
        auto corners = [&](int y) { // the corners of lattice row y that rows y - 1 and y need
            int first = INT_MAX, last = INT_MIN;
            for (int r : {y - 1, y}) {
                const auto [f, l] = cells(r);
                if (f <= l) {
                    first = std::min(first, f);
                    last = std::max(last, l + 1);
                }
            }
            return std::pair{first, last};
        };
        latticeRow(j0, corners(j0), across, m_hTop, m_acrossTop);
        for (int j = j0; j < j1; ++j) {
            if (stop.load(std::memory_order_relaxed))
                return;
            latticeRow(j + 1, corners(j + 1), across, m_hBottom, m_acrossBottom);
            const auto [first, last] = cells(j);
            if (first <= last) {
                // The upright edges (i, j) - (i, j + 1) of the row's cells.
                for (int i = first; i <= last + 1; ++i) {
                    const double u = m_u0 + i * m_alpha.du + j * m_beta.du;
                    const double v = m_v0 + i * m_alpha.dv + j * m_beta.dv;
                    m_down[static_cast<size_t>(i)] =
                        down.Integral(m_rows, u, v, m_hTop[static_cast<size_t>(i)], m_hBottom[static_cast<size_t>(i)]);
                }
                QRgb* out = m_bits + m_stride * (m_region.top + j) + m_region.left;
                for (int i = first; i <= last; ++i) {
                    const size_t k = static_cast<size_t>(i);
                    // Around the cell: top edge, right edge, bottom edge back, left edge back.
                    const Lanes around = m_det * (m_acrossTop[k] + m_down[k + 1] - m_acrossBottom[k] - m_down[k]);
                    composite(out[i], around[3], around[0], around[1], around[2]);
                }
            }
            std::swap(m_hTop, m_hBottom);
            std::swap(m_acrossTop, m_acrossBottom);
        }
    }

    // Splits the rows into n bands of about the same number of cells to
    // compute; band t is rows bounds[t] .. bounds[t + 1] - 1.
    std::vector<int> Bands(int n) const
    {
        const int height = int(m_first.size());
        auto cells = [&](int r) { return static_cast<qint64>(std::max(0, m_last[size_t(r)] - m_first[size_t(r)] + 1)) + 4; };
        qint64 total = 0;
        for (int r = 0; r < height; ++r)
            total += cells(r);
        std::vector<int> bounds{0};
        qint64 sum = 0;
        for (int r = 0; r < height && int(bounds.size()) < n; ++r) {
            sum += cells(r);
            if (sum * n >= total * qint64(bounds.size()))
                bounds.push_back(r + 1);
        }
        while (int(bounds.size()) <= n)
            bounds.push_back(height);
        return bounds;
    }

private:
    struct Step {
        double du = 0, dv = 0;
    };

    // Hc at the corners first .. last of lattice row y, and the integrals
    // along the across edges between them.
    void latticeRow(int y, std::pair<int, int> corners, const EdgeFamily& across, std::vector<Lanes>& h,
                    std::vector<Lanes>& integrals) const
    {
        const auto [first, last] = corners;
        if (first > last)
            return;
        for (int i = first; i <= last; ++i) {
            const double u = m_u0 + i * m_alpha.du + y * m_beta.du;
            const double v = m_v0 + i * m_alpha.dv + y * m_beta.dv;
            h[static_cast<size_t>(i)] = m_rows.H(floorSmall(v), u);
        }
        for (int i = first; i < last; ++i) {
            const double u = m_u0 + i * m_alpha.du + y * m_beta.du;
            const double v = m_v0 + i * m_alpha.dv + y * m_beta.dv;
            integrals[static_cast<size_t>(i)] =
                across.Integral(m_rows, u, v, h[static_cast<size_t>(i)], h[static_cast<size_t>(i) + 1]);
        }
    }

    // A target pixel with coverage A and colour integrals r, g, b.
    static void composite(QRgb& pixel, double A, double r, double g, double b)
    {
        if (A <= 0)
            return;
        if (A < 1) {
            const double keep = 1 - A;
            pixel = qRgb(clampByte(keep * qRed(pixel) + r), clampByte(keep * qGreen(pixel) + g),
                         clampByte(keep * qBlue(pixel) + b));
        } else {
            const double k = 1 / A;
            pixel = qRgb(clampByte(r * k), clampByte(g * k), clampByte(b * k));
        }
    }

    static bool spanInBand(const Corners& X, const Corners& Y, double y0, double y1, double& lo, double& hi)
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

    const RowIntegrals& m_rows;
    Region m_region;
    QRgb* m_bits;
    qsizetype m_stride;
    double m_det = 1;
    double m_u0 = 0, m_v0 = 0;
    Step m_alpha, m_beta;
    std::vector<int> m_first, m_last;
    std::vector<Lanes> m_hTop, m_hBottom, m_acrossTop, m_acrossBottom, m_down;
};

} // namespace

bool WarpAffine(const QImage& src, QImage& target, const Affine& m, const Corners& X, const Corners& Y,
                const Region& region, const RotateProgress& callback, const QRgb* background)
{
    const int W = src.width();
    const int H = src.height();
    const int R = region.bottom - region.top;
    // A target of one known colour is written in place and filled with that
    // colour again should the warp be stopped; any other is written in a copy.
    QImage copy = background ? QImage() : target.copy();
    QImage& out = background ? target : copy;
    if (out.isNull())
        return false;
    QRgb* bits = reinterpret_cast<QRgb*>(out.bits());
    const qsizetype stride = out.bytesPerLine() / 4;
    auto stopped = [&] {
        if (background)
            target.fill(*background);
        return false;
    };

    RowIntegrals rows(src);
    // The target goes in strips of StripWidth columns, and with more than
    // one thread in bands of rows, one per thread. The progress procedure is
    // called once per source column, the calls spread evenly over the work:
    // call x follows the (x + 1) * units / W-th unit, a unit being a row of
    // a strip.
    constexpr int StripWidth = 32;
    const int width = region.right - region.left;
    const int strips = (width + StripWidth - 1) / StripWidth;
    const qint64 units = static_cast<qint64>(R) * strips;
    auto unitsBefore = [&](int calls) { return units * calls / W; };
    auto report = [&](int x) { return !callback || callback(double(x + 1) / W, x + 1, W) == 0; };

    const int cores = std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
    const int threads = getenv("ARC_T") ? atoi(getenv("ARC_T")) : std::clamp(std::min(R / 16, W * H / 2000), 1, std::min(cores, 8));
    std::atomic<bool> stop{false};

    if (threads == 1) {
        rows.Build(0, H);
        BandWorker worker(rows, m, X, Y, region, bits, stride);
        qint64 done = 0;
        int x = 0;
        for (int s = 0; s < strips; ++s) {
            worker.RunStrip(0, R, s * StripWidth, std::min(width, (s + 1) * StripWidth), stop);
            done += R;
            for (; x < W && unitsBefore(x + 1) <= done; ++x)
                if (!report(x))
                    return stopped();
        }
        for (; x < W; ++x)
            if (!report(x))
                return stopped();
        if (!background)
            target = copy;
        return true;
    }

    // Each thread builds a share of the row integrals, then, once all are
    // built, computes its band of target rows strip by strip. The calling
    // thread makes the progress calls as the work gets done.
    const std::vector<int> bounds = BandWorker(rows, m, X, Y, region, bits, stride).Bands(threads);
    std::mutex mutex;
    std::condition_variable progressed;
    qint64 done = 0;
    std::barrier built(threads);
    std::vector<std::thread> pool;
    pool.reserve(static_cast<size_t>(threads));
    for (int t = 0; t < threads; ++t) {
        pool.emplace_back([&, t] {
            rows.Build(H * t / threads, H * (t + 1) / threads);
            built.arrive_and_wait();
            BandWorker worker(rows, m, X, Y, region, bits, stride);
            const int j0 = bounds[static_cast<size_t>(t)], j1 = bounds[static_cast<size_t>(t) + 1];
            for (int s = 0; s < strips; ++s) {
                worker.RunStrip(j0, j1, s * StripWidth, std::min(width, (s + 1) * StripWidth), stop);
                {
                    std::lock_guard<std::mutex> lock(mutex);
                    done += j1 - j0;
                }
                progressed.notify_one();
            }
        });
    }
    bool finished = true;
    for (int x = 0; x < W && finished; ++x) {
        const qint64 until = unitsBefore(x + 1);
        {
            std::unique_lock<std::mutex> lock(mutex);
            progressed.wait(lock, [&] { return done >= until; });
        }
        finished = report(x);
    }
    if (!finished)
        stop = true;
    for (std::thread& thread : pool)
        thread.join();
    if (!finished)
        return stopped();
    if (!background)
        target = copy;
    return true;
}

} // namespace AreaWarp
