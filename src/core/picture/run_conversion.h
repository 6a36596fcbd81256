#pragma once

#include <cstdint>
#include <vector>

namespace velarix {

// The picture decoder converts pixels in runs of 16 on two lines that share
// their chroma: 16 luma samples of each line and the 8 Cb/Cr pairs under
// them, the pairs kept as the frame memory keeps them (Cb Cb Cb Cb Cr Cr Cr
// Cr, twice). Every way of converting gives the bytes of the BT.601 equations
// computed in double precision, each channel rounded to the nearest integer
// (halves to even) and clamped to 0-255.
struct SampleRun {
    std::uint32_t luma0;   // the 16 luma bytes of the first line
    std::uint32_t luma1;   // the 16 luma bytes of the second line
    std::uint32_t chroma;  // the 16 chroma bytes
};

// Converts `count` runs whose samples lie in `frame` at the offsets given;
// run k writes 48 bytes (16 pixels blue, green, red) at out0 + 48 k and
// out1 + 48 k.
using ConvertRuns = void (*)(const std::uint8_t* frame, const SampleRun* runs, int count,
                             std::uint8_t* out0, std::uint8_t* out1);

// The ways of converting: plain C++, SSE2 and AVX2 (x86-64 only).
enum class ConversionPath { Scalar, Sse2, Avx2 };

// The function of a path, or nullptr when this build or this processor has
// not got it.
ConvertRuns ConversionFor(ConversionPath path);
// The paths this processor runs, slowest first.
std::vector<ConversionPath> AvailableConversions();
// The fastest of them, chosen once.
ConversionPath FastestConversion();

namespace detail {
void ConvertRunsScalar(const std::uint8_t* frame, const SampleRun* runs, int count,
                       std::uint8_t* out0, std::uint8_t* out1);
#if defined(__x86_64__)
void ConvertRunsSse2(const std::uint8_t* frame, const SampleRun* runs, int count,
                     std::uint8_t* out0, std::uint8_t* out1);
void ConvertRunsAvx2(const std::uint8_t* frame, const SampleRun* runs, int count,
                     std::uint8_t* out0, std::uint8_t* out1);
bool HasAvx2();
#endif
}  // namespace detail

}  // namespace velarix
