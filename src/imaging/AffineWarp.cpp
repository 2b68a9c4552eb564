#include "AreaWarp.h"
#include "WarpSupport.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include <QRunnable>
#include <QThread>
#include <QThreadPool>

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

// Two doubles in one vector register (SSE2 on x86-64, NEON on ARM).
using V2d = double __attribute__((vector_size(16)));
using V2f = float __attribute__((vector_size(8)));

// Red, green, blue and coverage.
struct Lanes {
    V2d rg{0, 0};
    V2d bc{0, 0};
    double operator[](int i) const { return i < 2 ? rg[i] : bc[i - 2]; }
};

inline Lanes operator+(const Lanes& x, const Lanes& y) { return {x.rg + y.rg, x.bc + y.bc}; }
inline Lanes operator-(const Lanes& x, const Lanes& y) { return {x.rg - y.rg, x.bc - y.bc}; }
inline Lanes operator*(double m, const Lanes& x) { return {m * x.rg, m * x.bc}; }

constexpr Lanes Nothing{};

// Floor of a value within the range of int.
inline int floorSmall(double v)
{
    const int t = static_cast<int>(v);
    return t - (t > v);
}

// The integrals of the source's rows. Row k holds, for whole u = c, Hk(c)
// for the red, green and blue lanes and for the coverage lane (the picture's
// indicator: c * c / 2), and the pixel (c, k) itself; a few entries of
// padding on either side carry the row on: 0 before its start, a straight
// line after its end.
class RowIntegrals {
public:
    explicit RowIntegrals(const QImage& src)
        : m_W(src.width()), m_H(src.height()), m_stride(static_cast<size_t>(m_W) + 2 * Pad + 1), m_src(src),
          m_table(new Entry[m_stride * static_cast<size_t>(m_H)])
    {
    }

    void Build(int k0, int k1)
    {
        for (int k = k0; k < k1; ++k) {
            Entry* e = row(k);
            const QRgb* line = reinterpret_cast<const QRgb*>(m_src.constScanLine(k));
            for (int c = -Pad; c < 0; ++c)
                e[c] = Entry{};
            V2d h01{0, 0}, h23{0, 0}, g01{0, 0}, g23{0, 0}; // Hk and Gk at the current whole u
            for (int c = 0; c < m_W; ++c) {
                const QRgb p = line[c];
                const V2f s01{float(qRed(p)), float(qGreen(p))};
                const V2f s23{float(qBlue(p)), 1.0f};
                e[c] = Entry{h01, h23, s01, s23};
                const V2d d01 = __builtin_convertvector(s01, V2d);
                const V2d d23 = __builtin_convertvector(s23, V2d);
                h01 += g01 + 0.5 * d01;
                h23 += g23 + 0.5 * d23;
                g01 += d01;
                g23 += d23;
            }
            for (int c = m_W; c <= m_W + Pad; ++c) {
                e[c] = Entry{h01, h23, V2f{0, 0}, V2f{0, 0}};
                h01 += g01;
                h23 += g23;
            }
        }
    }

    // Hk(u); 0 for a row outside the picture.
    Lanes H(int k, double u) const
    {
        if (static_cast<unsigned>(k) >= static_cast<unsigned>(m_H))
            return Nothing;
        const At at = locate(k, u);
        return value(at.e, at.f, 0.5 * at.f * (1 - at.f));
    }

    // Hk(u) - Hj(u), for rows next to each other.
    Lanes HDifference(int k, int j, double u) const
    {
        const bool hasK = static_cast<unsigned>(k) < static_cast<unsigned>(m_H);
        const bool hasJ = static_cast<unsigned>(j) < static_cast<unsigned>(m_H);
        if (!hasK && !hasJ)
            return Nothing;
        const At at = locate(hasK ? k : j, u);
        const double bend = 0.5 * at.f * (1 - at.f);
        const Lanes hk = hasK ? value(at.e, at.f, bend) : Nothing;
        const Lanes hj = hasJ ? value(at.e + (j - (hasK ? k : j)) * static_cast<qsizetype>(m_stride), at.f, bend) : Nothing;
        return hk - hj;
    }

    // Gk(u), the integral of row k from its start to u; 0 outside the picture's rows.
    Lanes G(int k, double u) const
    {
        if (static_cast<unsigned>(k) >= static_cast<unsigned>(m_H))
            return Nothing;
        const At at = locate(k, u);
        // Gk(c + f) = Hk(c+1) - Hk(c) + s (f - 1/2).
        const double m = at.f - 0.5;
        return {at.e[1].h01 - at.e[0].h01 + m * __builtin_convertvector(at.e[0].s01, V2d),
                at.e[1].h23 - at.e[0].h23 + m * __builtin_convertvector(at.e[0].s23, V2d)};
    }

private:
    static constexpr int Pad = 4;
    struct alignas(16) Entry {
        V2d h01, h23; // Hk(c)
        V2f s01, s23; // the pixel (c, k)
    };
    struct At {
        const Entry* e;
        double f;
    };

    Entry* row(int k) const { return m_table.get() + m_stride * static_cast<size_t>(k) + Pad; }

    // The entry at or left of u, and u's distance from it. Beyond the padding
    // the row is 0 on the left and a straight line on the right.
    At locate(int k, double u) const
    {
        const double inside = std::min(std::max(u, -double(Pad)), double(m_W + Pad));
        const int c = std::min(std::max(floorSmall(inside), -Pad), m_W + Pad - 1);
        return At{row(k) + c, u - c};
    }

    // Hk(c + f) = Hk(c) + f (Hk(c+1) - Hk(c)) - s f (1 - f) / 2, s the pixel (c, k).
    static Lanes value(const Entry* e, double f, double bend)
    {
        return {e[0].h01 + f * (e[1].h01 - e[0].h01) - bend * __builtin_convertvector(e[0].s01, V2d),
                e[0].h23 + f * (e[1].h23 - e[0].h23) - bend * __builtin_convertvector(e[0].s23, V2d)};
    }

    int m_W;
    int m_H;
    size_t m_stride;
    QImage m_src;
    std::unique_ptr<Entry[]> m_table;
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

    // The integral of G dv along the edge from (u0, v0); in closed form given
    // the rows k0, k1 of its ends and H of those rows at the ends.
    Lanes Integral(const RowIntegrals& rows, double u0, double v0, int k0, int k1, const Lanes& h0,
                   const Lanes& h1) const
    {
        if (closedForm) {
            Lanes r = rho * (h1 - h0);
            // Each source row boundary crossed: the piece before it is in
            // the row left, the piece after it in the row entered.
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

// Computes target pixels, a rectangle at a time, and writes them into the
// target as it goes. Each thread has its own.
class TileWorker {
public:
    TileWorker(const RowIntegrals& rows, const Affine& m, const Corners& X, const Corners& Y, const Region& region,
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
            if (width > 0 && SpanInBand(rx, ry, r, r + 1, lo, hi)) {
                first = static_cast<int>(std::clamp(std::floor(lo) - 1, 0.0, double(width - 1)));
                last = static_cast<int>(std::clamp(std::ceil(hi) + 1, 0.0, double(width - 1)));
            }
            m_first[static_cast<size_t>(r)] = first;
            m_last[static_cast<size_t>(r)] = last;
        }
        const size_t corners = static_cast<size_t>(width) + 2;
        for (auto* buffer : {&m_hTop, &m_hBottom, &m_acrossTop, &m_acrossBottom, &m_down})
            buffer->assign(corners, Nothing);
        m_rowTop.assign(corners, 0);
        m_rowBottom.assign(corners, 0);
    }

    // Computes and writes the cells i0 .. i1 - 1 of target rows j0 .. j1 - 1
    // (region coordinates), going down the rows; stops early when stop says
    // so. A small rectangle keeps the source rows it reads in the cache.
    void RunRectangle(int j0, int j1, int i0, int i1, const std::atomic<bool>& stop)
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
        latticeRow(j0, corners(j0), across, m_rowTop, m_hTop, m_acrossTop);
        for (int j = j0; j < j1; ++j) {
            if (stop.load(std::memory_order_relaxed))
                return;
            latticeRow(j + 1, corners(j + 1), across, m_rowBottom, m_hBottom, m_acrossBottom);
            const auto [first, last] = cells(j);
            if (first <= last) {
                // The upright edges (i, j) - (i, j + 1) of the row's cells.
                for (int i = first; i <= last + 1; ++i) {
                    const double u = m_u0 + i * m_alpha.du + j * m_beta.du;
                    const double v = m_v0 + i * m_alpha.dv + j * m_beta.dv;
                    const size_t n = static_cast<size_t>(i);
                    m_down[n] = down.Integral(m_rows, u, v, m_rowTop[n], m_rowBottom[n], m_hTop[n], m_hBottom[n]);
                }
                QRgb* out = m_bits + m_stride * (m_region.top + j) + m_region.left;
                for (int i = first; i <= last; ++i) {
                    const size_t k = static_cast<size_t>(i);
                    // Around the cell: top edge, right edge, bottom edge back, left edge back.
                    const Lanes around = m_det * (m_acrossTop[k] + m_down[k + 1] - m_acrossBottom[k] - m_down[k]);
                    Composite(out[i], around[3], around[0], around[1], around[2]);
                }
            }
            std::swap(m_rowTop, m_rowBottom);
            std::swap(m_hTop, m_hBottom);
            std::swap(m_acrossTop, m_acrossBottom);
        }
    }

private:
    struct Step {
        double du = 0, dv = 0;
    };

    // The source row and Hc of the corners first .. last of lattice row y,
    // and the integrals along the across edges between them.
    void latticeRow(int y, std::pair<int, int> corners, const EdgeFamily& across, std::vector<int>& rowOf,
                    std::vector<Lanes>& h, std::vector<Lanes>& integrals) const
    {
        const auto [first, last] = corners;
        if (first > last)
            return;
        for (int i = first; i <= last; ++i) {
            const size_t n = static_cast<size_t>(i);
            const double u = m_u0 + i * m_alpha.du + y * m_beta.du;
            const double v = m_v0 + i * m_alpha.dv + y * m_beta.dv;
            rowOf[n] = floorSmall(v);
            h[n] = m_rows.H(rowOf[n], u);
        }
        for (int i = first; i < last; ++i) {
            const size_t n = static_cast<size_t>(i);
            const double u = m_u0 + i * m_alpha.du + y * m_beta.du;
            const double v = m_v0 + i * m_alpha.dv + y * m_beta.dv;
            integrals[n] = across.Integral(m_rows, u, v, rowOf[n], rowOf[n + 1], h[n], h[n + 1]);
        }
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
    std::vector<int> m_rowTop, m_rowBottom;
};

// The work of one warp, shared by the threads that do it: first the row
// integrals, a few source rows at a time, then the target in tiles. Every
// thread takes the next piece of work that nobody has taken, so a thread that
// starts late or runs slowly holds nobody up.
class WarpJob {
public:
    WarpJob(const QImage& src, const Affine& m, const Corners& X, const Corners& Y, const Region& region, QRgb* bits,
            qsizetype stride)
        : m_rows(src), m_m(m), m_X(X), m_Y(Y), m_region(region), m_bits(bits), m_stride(stride), m_H(src.height()),
          m_width(region.right - region.left), m_height(region.bottom - region.top),
          m_tileColumns((m_width + TileSize - 1) / TileSize), m_tiles(m_tileColumns * ((m_height + TileSize - 1) / TileSize))
    {
    }

    int Tiles() const { return m_tiles; }
    int TilesDone() const { return m_tilesDone.load(std::memory_order_acquire); }

    // Builds row integrals while any are left, then waits until all are built.
    void BuildRows()
    {
        constexpr int Chunk = 8;
        for (;;) {
            const int k = m_nextRow.fetch_add(Chunk);
            if (k >= m_H)
                break;
            const int end = std::min(m_H, k + Chunk);
            m_rows.Build(k, end);
            m_rowsBuilt.fetch_add(end - k, std::memory_order_release);
        }
        while (m_rowsBuilt.load(std::memory_order_acquire) < m_H)
            std::this_thread::yield();
    }

    // Computes the next tile nobody has taken; false when none is left or
    // the job is stopped. A tile taken after the job was stopped is counted
    // as done without being computed.
    bool RunTile(TileWorker& worker)
    {
        if (m_stop.load())
            return false;
        const int tile = m_nextTile.fetch_add(1);
        if (tile >= m_tiles)
            return false;
        if (!m_stop.load()) {
            const int i0 = (tile % m_tileColumns) * TileSize;
            const int j0 = (tile / m_tileColumns) * TileSize;
            worker.RunRectangle(j0, std::min(m_height, j0 + TileSize), i0, std::min(m_width, i0 + TileSize), m_stop);
        }
        m_tilesDone.fetch_add(1, std::memory_order_release);
        {
            std::lock_guard<std::mutex> lock(m_mutex);
        }
        m_progressed.notify_one();
        return true;
    }

    TileWorker MakeWorker() const { return TileWorker(m_rows, m_m, m_X, m_Y, m_region, m_bits, m_stride); }

    // A helper thread's whole share. A helper that starts after the job is
    // over finds nothing left to do and touches nothing.
    void Help()
    {
        BuildRows();
        if (m_nextTile.load() >= m_tiles || m_stop.load())
            return;
        TileWorker worker = MakeWorker();
        while (RunTile(worker)) {
        }
    }

    // Stops the job and waits until no thread is computing a tile.
    void Stop()
    {
        m_stop = true;
        std::unique_lock<std::mutex> lock(m_mutex);
        m_progressed.wait(lock, [&] { return TilesDone() >= std::min(m_nextTile.load(), m_tiles); });
    }

    // Waits until at least n tiles are done or a second has passed.
    void WaitForTiles(int n)
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_progressed.wait_for(lock, std::chrono::seconds(1), [&] { return TilesDone() >= n; });
    }

private:
    static constexpr int TileSize = 32;
    RowIntegrals m_rows;
    Affine m_m;
    Corners m_X, m_Y;
    Region m_region;
    QRgb* m_bits;
    qsizetype m_stride;
    int m_H;
    int m_width, m_height;
    int m_tileColumns;
    int m_tiles;
    std::atomic<int> m_nextRow{0};
    std::atomic<int> m_rowsBuilt{0};
    std::atomic<int> m_nextTile{0};
    std::atomic<int> m_tilesDone{0};
    std::atomic<bool> m_stop{false};
    std::mutex m_mutex;
    std::condition_variable m_progressed;
};

// The threads that help with warps; they go away after some idle time.
QThreadPool& helpers()
{
    static QThreadPool pool;
    return pool;
}

// A helper's share of a job. The job lives as long as any of its helpers,
// which may start only after the job is over.
class HelpTask : public QRunnable {
public:
    explicit HelpTask(std::shared_ptr<WarpJob> job) : m_job(std::move(job)) { setAutoDelete(true); }
    void run() override { m_job->Help(); }

private:
    std::shared_ptr<WarpJob> m_job;
};

} // namespace

bool WarpAffine(const QImage& src, QImage& target, const Affine& m, const Corners& X, const Corners& Y,
                const Region& region, const RotateProgress& callback, const QRgb* background)
{
    const int W = src.width();
    // A target of one known colour is written in place and filled with that
    // colour again should the warp be stopped; any other is written in a copy.
    QImage copy = background ? QImage() : target.copy();
    QImage& out = background ? target : copy;
    if (out.isNull())
        return false;
    const auto shared = std::make_shared<WarpJob>(src, m, X, Y, region, reinterpret_cast<QRgb*>(out.bits()),
                                                  out.bytesPerLine() / 4);
    WarpJob& job = *shared;

    // Helper threads for a picture large enough to be worth them; the
    // calling thread works too, so the warp gets done even when no helper
    // gets to run.
    const int cores = std::max(1, QThread::idealThreadCount());
    const qint64 pixels = static_cast<qint64>(src.width()) * src.height();
    const int helperCount = static_cast<int>(std::clamp<qint64>(std::min<qint64>(job.Tiles() / 4, pixels / 4000), 0,
                                                                std::min(cores, 8) - 1));
    QThreadPool& pool = helpers();
    if (pool.maxThreadCount() < helperCount)
        pool.setMaxThreadCount(helperCount);
    for (int t = 0; t < helperCount; ++t)
        pool.start(new HelpTask(shared));

    // The progress procedure is called once per source column, on this
    // thread, the calls spread evenly over the tiles: call x follows the
    // (x + 1) * tiles / W-th tile.
    const int tiles = job.Tiles();
    int calls = 0;
    bool stopped = false;
    auto reportDone = [&] {
        const int done = job.TilesDone();
        for (; calls < W && static_cast<qint64>(calls + 1) * tiles <= static_cast<qint64>(done) * W; ++calls) {
            if (callback && callback(double(calls + 1) / W, calls + 1, W) != 0) {
                stopped = true;
                job.Stop();
                return;
            }
        }
    };
    job.BuildRows();
    {
        TileWorker worker = job.MakeWorker();
        while (!stopped && job.RunTile(worker))
            reportDone();
    }
    while (!stopped && calls < W) {
        job.WaitForTiles(static_cast<int>((static_cast<qint64>(calls + 1) * tiles + W - 1) / W));
        reportDone();
    }
    // When all tiles are done no helper writes any more.
    if (stopped) {
        if (background)
            target.fill(*background);
        return false;
    }
    if (!background)
        target = copy;
    return true;
}

} // namespace AreaWarp
