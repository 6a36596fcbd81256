// Every way of converting the frame memory gives the very bytes of the plain
// decoder: each pixel fetched by the layout of the frame memory and converted
// by the BT.601 equations in double precision, rounded halves to even and
// clamped. That decoder is written out below, one pixel at a time, as the
// reference.
#include <gtest/gtest.h>

#include <QByteArray>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

#include "picture/picture_decoder.h"
#include "picture/run_conversion.h"

namespace velarix {
namespace {

using Bgr = std::array<std::uint8_t, 3>;

std::uint8_t Rounded(double value) {
    return static_cast<std::uint8_t>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

// The equations as they are written, blue, green, red.
Bgr Reference(int l, int cb, int cr) {
    return {Rounded(1.164 * (l - 16) + 2.018 * (cb - 128)),
            Rounded(1.164 * (l - 16) - 0.813 * (cr - 128) - 0.391 * (cb - 128)),
            Rounded(1.164 * (l - 16) + 1.596 * (cr - 128))};
}

// The plain decoder: the first 640,000 bytes count, missing ones read as 0.
QByteArray ReferenceDecode(const QByteArray& image, int width, int height) {
    const qsizetype usable = std::min<qsizetype>(image.size(), 640000);
    const auto sample = [&](std::int64_t at) {
        return at < usable ? int{static_cast<std::uint8_t>(image.constData()[at])} : 0;
    };
    QByteArray out(static_cast<qsizetype>(width) * height * 3, '\0');
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::int64_t n = std::int64_t{width} * (y / 32) + x;
            const std::int64_t luma = 1024 * (n / 32) + 32 * (y % 32) + n % 32;
            const int xc = x / 2, yc = y / 2;
            const std::int64_t m = std::int64_t{width / 2} * (yc / 16) + xc;
            const std::int64_t half = (m % 32) / 16, column = m % 16, line = yc % 16;
            const std::int64_t tileLine = 16 * (line / 8) + 8 * half + line % 8;
            const std::int64_t cb =
                414720 + 1024 * (m / 32) + 32 * tileLine + 8 * (column / 4) + column % 4;
            const Bgr bgr = Reference(sample(luma), sample(cb), sample(cb + 4));
            std::memcpy(out.data() + (static_cast<qsizetype>(y) * width + x) * 3, bgr.data(), 3);
        }
    }
    return out;
}

QByteArray Noise(qsizetype size, std::uint32_t seed) {
    std::mt19937 random(seed);
    QByteArray bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() >> 24);
    return bytes;
}

const char* Name(ConversionPath path) {
    switch (path) {
        case ConversionPath::Scalar:
            return "scalar";
        case ConversionPath::Sse2:
            return "SSE2";
        case ConversionPath::Avx2:
            return "AVX2";
    }
    return "?";
}

// What a run of pairs of pixels holds: luma, Cb and Cr of every pixel.
struct RunSamples {
    std::vector<std::uint8_t> bytes;  // the runs, 48 bytes each
    std::vector<SampleRun> runs;
};

// All 2^24 triples, in blocks of 64 runs: block (cb, g) gives pair p of every
// run Cb = cb and Cr = 8 g + p, and its four pixels lumas that go round all
// 256 values over the block, each pair starting elsewhere.
TEST(Bt601Conversion, EveryTripleGivesTheBytesOfTheDoubleFormula) {
    constexpr int kRuns = 64;
    RunSamples samples{std::vector<std::uint8_t>(48 * kRuns), std::vector<SampleRun>(kRuns)};
    for (int k = 0; k < kRuns; ++k) {
        const auto at = static_cast<std::uint32_t>(48 * k);
        samples.runs[k] = {at, at + 16, at + 32};
    }
    const std::vector<ConversionPath> paths = AvailableConversions();
    std::vector<std::uint8_t> expected(2 * 48 * kRuns), got(2 * 48 * kRuns);
    std::vector<long> wrong(paths.size(), 0);
    std::vector<std::array<int, 3>> firstWrong(paths.size());
    for (int cb = 0; cb < 256; ++cb) {
        for (int group = 0; group < 32; ++group) {
            for (int k = 0; k < kRuns; ++k) {
                std::uint8_t* run = samples.bytes.data() + 48 * k;
                for (int p = 0; p < 8; ++p) {
                    const int cr = 8 * group + p;
                    run[32 + 8 * (p / 4) + p % 4] = static_cast<std::uint8_t>(cb);
                    run[32 + 8 * (p / 4) + p % 4 + 4] = static_cast<std::uint8_t>(cr);
                    for (int q = 0; q < 4; ++q) {
                        const int luma = (4 * k + q + 37 * p) % 256;
                        const int line = q / 2, pixel = 2 * p + q % 2;
                        run[16 * line + pixel] = static_cast<std::uint8_t>(luma);
                        const Bgr bgr = Reference(luma, cb, cr);
                        std::memcpy(&expected[48 * kRuns * line + 48 * k + 3 * pixel], bgr.data(),
                                    3);
                    }
                }
            }
            for (std::size_t i = 0; i < paths.size(); ++i) {
                ConversionFor(paths[i])(samples.bytes.data(), samples.runs.data(), kRuns,
                                        got.data(), got.data() + 48 * kRuns);
                if (got == expected) continue;
                for (std::size_t at = 0; at < got.size(); ++at) {
                    if (got[at] == expected[at]) continue;
                    if (wrong[i]++ == 0) {
                        const std::size_t line = at / (48 * kRuns), k = at % (48 * kRuns) / 48;
                        const int pixel = static_cast<int>(at % 48 / 3);
                        const std::uint8_t* run = samples.bytes.data() + 48 * k;
                        const int p = pixel / 2;
                        firstWrong[i] = {run[16 * line + pixel], run[32 + 8 * (p / 4) + p % 4],
                                         run[36 + 8 * (p / 4) + p % 4]};
                    }
                }
            }
        }
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(wrong[i], 0) << Name(paths[i]) << ": first wrong at luma " << firstWrong[i][0]
                               << ", Cb " << firstWrong[i][1] << ", Cr " << firstWrong[i][2];
    }
}

// Values that lie exactly on a half. Where the double arithmetic lands a hair
// to one side, a conversion that rounded the exact value halves to even would
// give the other neighbour; where it lands on the half itself, one that
// rounded halves up would. Worked out by hand:
//   red   of (232, Cb any, 9):  1.164 * 216 + 1.596 * -119 = 61.5, in doubles 61.49999999999997
//   green of (2, 0, 132):      -16.296 - 3.252 + 50.048 = 30.5, in doubles 30.500000000000004
//   blue  of (233, 12, Cr any): 252.588 - 234.088 = 18.5, in doubles 18.50000000000003
//   red   of (9, Cb any, 166):  -8.148 + 60.648 = 52.5, in doubles 52.5 exactly
//   green of (0, 17, 57):      -18.624 + 57.723 + 43.401 = 82.5, in doubles 82.5 exactly
//   blue  of (4, 154, Cr any): -13.968 + 52.468 = 38.5, in doubles 38.5 exactly
TEST(Bt601Conversion, ExactHalvesGoWhereTheDoublesPutThem) {
    struct Case {
        int l, cb, cr, channel, value;  // channel 0 blue, 1 green, 2 red
    };
    const Case cases[] = {{232, 0, 9, 2, 61}, {2, 0, 132, 1, 31}, {233, 12, 0, 0, 19},
                          {9, 0, 166, 2, 52}, {0, 17, 57, 1, 82}, {4, 154, 0, 0, 38}};
    std::vector<std::uint8_t> bytes(48, 0);
    const SampleRun run{0, 16, 32};
    for (ConversionPath path : AvailableConversions()) {
        for (const Case& c : cases) {
            for (int p = 0; p < 8; ++p) {
                bytes[32 + 8 * (p / 4) + p % 4] = static_cast<std::uint8_t>(c.cb);
                bytes[36 + 8 * (p / 4) + p % 4] = static_cast<std::uint8_t>(c.cr);
            }
            std::fill(bytes.begin(), bytes.begin() + 32, static_cast<std::uint8_t>(c.l));
            std::vector<std::uint8_t> out(96);
            ConversionFor(path)(bytes.data(), &run, 1, out.data(), out.data() + 48);
            for (int pixel = 0; pixel < 32; ++pixel) {
                ASSERT_EQ(out[3 * pixel + c.channel], c.value)
                    << Name(path) << " pixel " << pixel << " of " << c.l << ", " << c.cb << ", "
                    << c.cr;
            }
        }
    }
}

TEST(Bt601Conversion, EveryProcessorHasTheScalarPathAndX86AlsoSse2) {
    const std::vector<ConversionPath> paths = AvailableConversions();
    ASSERT_FALSE(paths.empty());
    EXPECT_EQ(paths.front(), ConversionPath::Scalar);
    EXPECT_EQ(FastestConversion(), paths.back());
#if defined(__x86_64__)
    EXPECT_NE(ConversionFor(ConversionPath::Sse2), nullptr);
#endif
}

struct Dump {
    const char* what;
    QByteArray bytes;
};

std::vector<Dump> Dumps() {
    const QByteArray noise = Noise(640001, 7);
    return {{"a capture read-out of noise", noise.left(622592)},
            {"640,001 bytes", noise},
            {"a dump longer than the frame memory", noise + Noise(100000, 8)},
            {"a dump that stops in the luma", noise.left(300001)},
            {"a dump that stops in the chroma", noise.left(500003)},
            {"a dump that stops a byte short", noise.left(622335)},
            {"1,000 bytes", noise.left(1000)},
            {"nothing", QByteArray()}};
}

// The five widths of the picture-size list, every path, every dump.
TEST(DecodePictureWith, EveryPathGivesThePlainDecodersBytesAtEveryWidth) {
    for (const Dump& dump : Dumps()) {
        for (int width : {352, 528, 544, 704, 720}) {
            const QByteArray expected = ReferenceDecode(dump.bytes, width, 576);
            for (ConversionPath path : AvailableConversions()) {
                const DecodedPicture picture =
                    DecodePictureWith(path, dump.bytes.constData(), dump.bytes.size(), width, 576);
                EXPECT_EQ(picture.width, width);
                EXPECT_EQ(picture.height, 576);
                EXPECT_TRUE(picture.bgr == expected)
                    << Name(path) << ", " << dump.what << ", width " << width;
            }
        }
    }
}

// Sizes no setting gives: widths that are not a multiple of 16 (some odd),
// an odd number of lines, a single line or pixel, lines beyond 576.
TEST(DecodePictureWith, OddSizesGiveThePlainDecodersBytes) {
    const QByteArray frame = Noise(622592, 11);
    const std::pair<int, int> sizes[] = {{351, 575}, {353, 576}, {721, 3},  {719, 577},
                                         {1, 1},     {2, 1},     {17, 2},   {16, 1},
                                         {32, 33},   {736, 580}, {100, 64}, {15, 15}};
    for (const auto& [width, height] : sizes) {
        const QByteArray expected = ReferenceDecode(frame, width, height);
        for (ConversionPath path : AvailableConversions()) {
            const DecodedPicture picture =
                DecodePictureWith(path, frame.constData(), frame.size(), width, height);
            EXPECT_TRUE(picture.bgr == expected) << Name(path) << ", " << width << " x " << height;
        }
    }
}

TEST(DecodePictureWith, NoPixelsForASizeBelowOne) {
    const QByteArray frame = Noise(1000, 3);
    for (const auto& [width, height] : {std::pair{0, 576}, {720, 0}, {-720, -576}}) {
        const DecodedPicture picture = DecodePicture(frame, width, height);
        EXPECT_TRUE(picture.bgr.isEmpty()) << width << " x " << height;
        EXPECT_TRUE(ShapePicture(picture, PictureShape::Original).isNull());
        EXPECT_TRUE(ShapePicture(picture, PictureShape::Wide).isNull());
    }
}

}  // namespace
}  // namespace velarix
