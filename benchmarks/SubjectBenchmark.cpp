// Subject detection on a 512 × 512 emoji, as the ground inspector and the ground step run it on the
// main thread the first time they meet an image (goal: under 10 ms), and the cache hit that every
// later re-render of the same pixels in a new image object costs. Report the median.
#include "BenchmarkRunner.h"
#include "SubjectImages.h"
#include "SyntheticImages.h"
#include "imaging/render/Renderer.h"
#include "imaging/subjects/SubjectDetector.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

using namespace plenoria;
using namespace plenoria::test;

namespace {

constexpr int side = 512;

// A face with eyes and a mouth beside a smaller sticker, drawn anti-aliased over `ground`.
QImage emoji(QImage ground)
{
    return blobsOver(std::move(ground),
        {{QRectF(40, 60, 330, 330), QColor(250, 200, 60)}, {QRectF(120, 150, 50, 80), QColor(70, 40, 20)},
            {QRectF(240, 150, 50, 80), QColor(70, 40, 20)}, {QRectF(150, 280, 110, 50), QColor(190, 50, 60)},
            {QRectF(380, 360, 110, 110), QColor(80, 150, 220)}});
}

const QImage& flatGround()
{
    static const QImage image = withNoise(emoji(solidImage(side, side, QColor(245, 242, 235))), 3);
    return image;
}

const QImage& gradientGround()
{
    static const QImage image = emoji(gradientImage(side, side, QColor(30, 60, 140), QColor(230, 230, 250)));
    return image;
}

const QImage& transparentGround()
{
    static const QImage image = emoji(solidImage(side, side, Qt::transparent));
    return image;
}

void detect(benchmark::State& state, const QImage& image)
{
    const QByteArray bytes = *Renderer::pixelBytes(image);
    int instances = 0;
    for (auto _ : state) {
        const auto detection = SubjectDetector::detect(bytes, side, side);
        instances = detection ? detection->instanceCount() : 0;
        benchmark::DoNotOptimize(detection);
    }
    state.counters["instances"] = instances;
}

void detectOnFlatGround(benchmark::State& state)
{
    detect(state, flatGround());
}
void detectOnGradientGround(benchmark::State& state)
{
    detect(state, gradientGround());
}
void detectOnTransparentGround(benchmark::State& state)
{
    detect(state, transparentGround());
}

// The bench's re-render: the same pixels arrive in a new image object, so the cache is found by
// hashing and comparing the pixels, then the chosen subjects' bytes come from the mask cache.
void cachedSubjectPixelsOfANewImage(benchmark::State& state)
{
    const QImage image = flatGround();
    (void)Renderer::subjectPixels(image, std::nullopt);
    for (auto _ : state) {
        state.PauseTiming();
        const QImage copy = image.copy();
        state.ResumeTiming();
        benchmark::DoNotOptimize(Renderer::subjectPixels(copy, std::nullopt));
    }
}

} // namespace

BENCHMARK(detectOnFlatGround)->Unit(benchmark::kMillisecond)->Repetitions(15)->DisplayAggregatesOnly(true);
BENCHMARK(detectOnGradientGround)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->DisplayAggregatesOnly(true);
BENCHMARK(detectOnTransparentGround)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->DisplayAggregatesOnly(true);
BENCHMARK(cachedSubjectPixelsOfANewImage)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(15)
    ->DisplayAggregatesOnly(true);

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    return plenoria::bench::runBenchmarks(argc, argv);
}
