// The rotation engine against Qt's own transforms, on card-sized pictures.
//
//   bench_rotation [--benchmark_filter=...]
//
// Every case turns a picture of random pixels by the same angle three ways:
// our engine (with a progress procedure that does nothing, so the per-column
// calls are counted), and QImage::transformed with smooth and with fast
// transformation. Compare the wall-clock times ("Time"): both the engine and
// Qt's smooth transformation share their work among threads, and "CPU" counts
// the calling thread only.
#include "imaging/ModAaform.h"

#include <QImage>
#include <QTransform>

#include <benchmark/benchmark.h>

#include <random>

namespace {

QImage noisePicture(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    std::mt19937 random(12345);
    for (int y = 0; y < height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < width; ++x)
            line[x] = 0xFF000000u | (random() & 0xFFFFFFu);
    }
    return image;
}

const QImage& picture(int width)
{
    static const QImage small = noisePicture(130, 225);
    static const QImage large = noisePicture(400, 700);
    return width == 130 ? small : large;
}

qint16 noProgress(double, qint32, qint32) { return 0; }

void Ours(benchmark::State& state)
{
    const QImage& source = picture(int(state.range(0)));
    const double angle = double(state.range(2));
    const RotateProgress progress = noProgress;
    for (auto _ : state) {
        QImage turned = RotatePicture(source, angle, progress, 0);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

void qtTransformed(benchmark::State& state, Qt::TransformationMode mode)
{
    const QImage& source = picture(int(state.range(0)));
    // Qt turns clockwise on the screen for a positive angle, the engine
    // counter-clockwise: the same turn is the negative angle.
    const QTransform turn = QTransform().rotate(-double(state.range(2)));
    for (auto _ : state) {
        QImage turned = source.transformed(turn, mode);
        benchmark::DoNotOptimize(turned.constBits());
    }
}

void QtSmooth(benchmark::State& state) { qtTransformed(state, Qt::SmoothTransformation); }
void QtFast(benchmark::State& state) { qtTransformed(state, Qt::FastTransformation); }

void cases(benchmark::internal::Benchmark* b)
{
    b->ArgNames({"w", "h", "deg"});
    for (auto size : {std::pair{130, 225}, std::pair{400, 700}})
        for (int angle : {90, 180, 45, 30})
            b->Args({size.first, size.second, angle});
    b->Unit(benchmark::kMicrosecond);
}

} // namespace

BENCHMARK(Ours)->Apply(cases);
BENCHMARK(QtSmooth)->Apply(cases);
BENCHMARK(QtFast)->Apply(cases);

BENCHMARK_MAIN();
