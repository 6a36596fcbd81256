// The captured picture: a 720 x 576 frame decoded, and saved as JPEG, each
// beside its floor (copying the decoded bytes; libjpeg alone on the same rows).
#include <benchmark/benchmark.h>
#include <jpeglib.h>

#include <time.h>

#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "test_frame.h"

namespace {

using velarix::ConversionPath;

constexpr int kWidth = 720;
constexpr int kHeight = 576;
constexpr int kPixels = kWidth * kHeight;

// Content 0: the simulator's colour bars; 1: a capture read-out of noise.
const QByteArray& Frame(std::int64_t content) {
    static const QByteArray bars = velarix::sim::TestFrame(kWidth);
    static const QByteArray noise = [] {
        std::mt19937 random(2024);
        QByteArray bytes(0x98000, '\0');
        for (char& byte : bytes) byte = static_cast<char>(random() >> 24);
        return bytes;
    }();
    return content == 0 ? bars : noise;
}

const char* ContentName(std::int64_t content) {
    return content == 0 ? "bars" : "noise";
}

void PerPixel(benchmark::State& state) {
    state.counters["ns_per_pixel"] = benchmark::Counter(
        kPixels, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert,
        benchmark::Counter::kIs1000);
}

// DecodePicture as the page and the command line call it (the fastest path).
void BM_DecodePicture(benchmark::State& state) {
    const QByteArray& frame = Frame(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(velarix::DecodePicture(frame, kWidth, kHeight));
    state.SetLabel(ContentName(state.range(0)));
    PerPixel(state);
}
BENCHMARK(BM_DecodePicture)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Each way of converting: 0 scalar, 1 SSE2, 2 AVX2.
void BM_DecodePictureBy(benchmark::State& state) {
    const auto path = static_cast<ConversionPath>(state.range(1));
    if (!velarix::ConversionFor(path)) {
        state.SkipWithError("not on this processor");
        return;
    }
    const QByteArray& frame = Frame(state.range(0));
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            velarix::DecodePictureWith(path, frame.constData(), frame.size(), kWidth, kHeight));
    }
    static const char* const names[] = {"scalar", "SSE2", "AVX2"};
    state.SetLabel(std::string(ContentName(state.range(0))) + ", " + names[state.range(1)]);
    PerPixel(state);
}
BENCHMARK(BM_DecodePictureBy)->ArgsProduct({{0, 1}, {0, 1, 2}})->Unit(benchmark::kMillisecond);

// The floor: only copying the bytes a decoded frame fills.
void BM_CopyDecodedBytes(benchmark::State& state) {
    const QByteArray source(kPixels * 3, '\x42');
    QByteArray target(kPixels * 3, '\0');
    for (auto _ : state) {
        std::memcpy(target.data(), source.constData(), source.size());
        benchmark::DoNotOptimize(target.data());
        benchmark::ClobberMemory();
    }
    PerPixel(state);
}
BENCHMARK(BM_CopyDecodedBytes)->Unit(benchmark::kMillisecond);

// libjpeg-turbo alone: the decoded rows read as blue-green-red, written into
// a buffer kept from one picture to the next.
class BareEncoder {
public:
    explicit BareEncoder(const velarix::DecodedPicture& picture)
        : rows_(picture.height), buffer_(static_cast<unsigned char*>(std::malloc(kBufferSize))) {
        for (int y = 0; y < picture.height; ++y) {
            rows_[y] = reinterpret_cast<JSAMPROW>(const_cast<char*>(picture.bgr.constData())) +
                       static_cast<std::size_t>(y) * picture.width * 3;
        }
        width_ = picture.width;
    }
    ~BareEncoder() { std::free(buffer_); }

    unsigned long Encode(int quality) {
        jpeg_compress_struct info{};
        jpeg_error_mgr errors{};
        info.err = jpeg_std_error(&errors);
        jpeg_create_compress(&info);
        unsigned long size = kBufferSize;
        jpeg_mem_dest(&info, &buffer_, &size);
        info.image_width = width_;
        info.image_height = rows_.size();
        info.input_components = 3;
        info.in_color_space = JCS_EXT_BGR;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, quality, TRUE);
        jpeg_start_compress(&info, TRUE);
        jpeg_write_scanlines(&info, rows_.data(), info.image_height);
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        return size;
    }

private:
    static constexpr unsigned long kBufferSize = 4 << 20;
    std::vector<JSAMPROW> rows_;
    unsigned char* buffer_;
    int width_ = 0;
};

// The processor time this thread has used, in nanoseconds: a machine shared
// with other work delays both encodes without counting against either.
double ThreadNs() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e9 + now.tv_nsec;
}

// EncodeJpeg of the picture the page shows ("No cambiar el formato"), timed
// in turn with a bare encode of the same rows, so that both see the same
// machine; the time shown is EncodeJpeg's, `bare_ms` the bare one's, `ratio`
// theirs (processor time of this thread, both).
void BM_EncodeJpegAgainstBare(benchmark::State& state) {
    const int quality = static_cast<int>(state.range(1));
    const velarix::DecodedPicture decoded =
        velarix::DecodePicture(Frame(state.range(0)), kWidth, kHeight);
    const QImage picture = velarix::ShapePicture(decoded, velarix::PictureShape::Original);
    BareEncoder bare(decoded);
    double ours = 0, floor = 0;
    for (auto _ : state) {
        const double start = ThreadNs();
        benchmark::DoNotOptimize(bare.Encode(quality));
        const double middle = ThreadNs();
        benchmark::DoNotOptimize(velarix::EncodeJpeg(picture, quality));
        const double end = ThreadNs();
        floor += middle - start;
        ours += end - middle;
        state.SetIterationTime((end - middle) / 1e9);
    }
    state.counters["bare_ms"] = floor / 1e6 / state.iterations();
    state.counters["ratio"] = ours / floor;
    state.SetLabel(std::string(ContentName(state.range(0))) + ", quality " +
                   std::to_string(quality));
}
BENCHMARK(BM_EncodeJpegAgainstBare)
    ->ArgsProduct({{0, 1}, {75, 100}})
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

void BM_ShapePictureWide(benchmark::State& state) {
    const auto decoded = velarix::DecodePicture(Frame(0), kWidth, kHeight);
    for (auto _ : state)
        benchmark::DoNotOptimize(velarix::ShapePicture(decoded, velarix::PictureShape::Wide));
}
BENCHMARK(BM_ShapePictureWide)->Unit(benchmark::kMillisecond);

}  // namespace
