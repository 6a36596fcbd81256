#include "picture/run_conversion.h"

#include <algorithm>

namespace velarix {

namespace {

// Adding and taking away 1.5 x 2^52 leaves a double rounded to a whole
// number, halves to even, in the default rounding mode.
constexpr double kRoundShift = 6755399441055744.0;

// Every value the equations give lies well within an int.
inline std::uint8_t Channel(double value) {
    const int rounded = static_cast<int>((value + kRoundShift) - kRoundShift);
    return static_cast<std::uint8_t>(std::clamp(rounded, 0, 255));
}

}  // namespace

namespace detail {

// One pixel at a time, each channel in the equations' own order.
void ConvertRunsScalar(const std::uint8_t* frame, const SampleRun* runs, int count,
                       std::uint8_t* out0, std::uint8_t* out1) {
    for (int k = 0; k < count; ++k) {
        const std::uint8_t* chroma = frame + runs[k].chroma;
        const std::uint8_t* lines[2] = {frame + runs[k].luma0, frame + runs[k].luma1};
        std::uint8_t* outs[2] = {out0 + 48 * k, out1 + 48 * k};
        for (int line = 0; line < 2; ++line) {
            for (int i = 0; i < 16; ++i) {
                const int pair = i / 2;
                const int cbAt = 8 * (pair / 4) + pair % 4;
                const int cb = chroma[cbAt] - 128;
                const int cr = chroma[cbAt + 4] - 128;
                const double luma = 1.164 * (lines[line][i] - 16);
                std::uint8_t* pixel = outs[line] + 3 * i;
                pixel[0] = Channel(luma + 2.018 * cb);
                pixel[1] = Channel(luma - 0.813 * cr - 0.391 * cb);
                pixel[2] = Channel(luma + 1.596 * cr);
            }
        }
    }
}

}  // namespace detail

ConvertRuns ConversionFor(ConversionPath path) {
    switch (path) {
        case ConversionPath::Scalar:
            return detail::ConvertRunsScalar;
#if defined(__x86_64__)
        case ConversionPath::Sse2:
            return detail::ConvertRunsSse2;
        case ConversionPath::Avx2:
            return detail::HasAvx2() ? detail::ConvertRunsAvx2 : nullptr;
#else
        case ConversionPath::Sse2:
        case ConversionPath::Avx2:
            return nullptr;
#endif
    }
    return nullptr;
}

std::vector<ConversionPath> AvailableConversions() {
    std::vector<ConversionPath> paths;
    for (ConversionPath path :
         {ConversionPath::Scalar, ConversionPath::Sse2, ConversionPath::Avx2}) {
        if (ConversionFor(path)) paths.push_back(path);
    }
    return paths;
}

ConversionPath FastestConversion() {
    static const ConversionPath fastest = AvailableConversions().back();
    return fastest;
}

}  // namespace velarix
