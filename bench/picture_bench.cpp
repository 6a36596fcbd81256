#include <benchmark/benchmark.h>

#include <cstring>

#include "picture/picture_decoder.h"
#include "test_frame.h"

namespace {

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr int kPixels = kWidth * kHeight;

// A 720 x 576 frame into 24-bit pixels.
void BM_DecodePicture720x576(benchmark::State& state) {
    const QByteArray frame = velarix::sim::TestFrame(kWidth);
    for (auto _ : state) {
        benchmark::DoNotOptimize(velarix::DecodePicture(frame, kWidth, kHeight));
    }
    state.counters["ns_per_pixel"] = benchmark::Counter(
        kPixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_DecodePicture720x576)->Unit(benchmark::kMillisecond);

// The floor: only copying the bytes a decoded frame fills.
void BM_CopyDecodedBytes(benchmark::State& state) {
    const QByteArray source(kPixels * 3, '\x42');
    QByteArray target(kPixels * 3, '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.constData(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * kPixels);
}
BENCHMARK(BM_CopyDecodedBytes)->Unit(benchmark::kMillisecond);

void BM_ShapePictureWide(benchmark::State& state) {
    const auto decoded = velarix::DecodePicture(velarix::sim::TestFrame(kWidth), kWidth, kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(velarix::ShapePicture(decoded, velarix::PictureShape::Wide));
}
BENCHMARK(BM_ShapePictureWide)->Unit(benchmark::kMillisecond);

}  // namespace
