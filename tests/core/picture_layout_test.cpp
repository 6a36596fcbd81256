#include <gtest/gtest.h>

#include <QByteArray>
#include <cmath>

#include "picture/picture_decoder.h"

namespace velarix {
namespace {

// The frame-memory layout checked from the outside: a dump whose every
// sample holds a value drawn from its own byte offset is decoded, and the
// pixels of the addressing examples, worked out by hand from the layout
// (tiles of 32 lines of 32 bytes, luma columns running through the bands of
// 32 lines, chroma columns through the bands of 16 chroma lines, four Cb then
// four Cr), must show the values of those very offsets.

constexpr int kHeight = 576;
constexpr int kChromaStart = 414720;
constexpr int kDumpBytes = 0x98000;

// One channel by the studio-range equations: rounded half to even, clamped.
int Channel(double value) {
    return static_cast<int>(std::clamp(std::nearbyint(value), 0.0, 255.0));
}

struct Pixel {
    int red, green, blue;
};

Pixel At(const DecodedPicture& picture, int x, int y) {
    const int at = (y * picture.width + x) * 3;
    auto byte = [&](int i) {
        return static_cast<int>(static_cast<std::uint8_t>(picture.bgr[at + i]));
    };
    return {byte(2), byte(1), byte(0)};
}

// Luma 16 to 235 by the offset (a step of 1.164 keeps each grey apart),
// chroma neutral.
QByteArray LumaDump(int modulus) {
    QByteArray dump(kDumpBytes, static_cast<char>(128));
    for (int offset = 0; offset < kChromaStart; ++offset)
        dump[offset] = static_cast<char>(16 + offset % modulus);
    return dump;
}

int GreyOfLumaAt(int offset, int modulus) {
    return Channel(1.164 * (16 + offset % modulus - 16));
}

// Luma 128, chroma 78 to 178 by the offset: blue follows Cb alone and red
// Cr alone, without clamping, each step apart.
QByteArray ChromaDump(int modulus) {
    QByteArray dump(kDumpBytes, static_cast<char>(128));
    for (int offset = kChromaStart; offset < kDumpBytes; ++offset)
        dump[offset] = static_cast<char>(128 + offset % modulus - 50);
    return dump;
}

int BlueOfCbAt(int offset, int modulus) {
    return Channel(1.164 * (128 - 16) + 2.018 * (offset % modulus - 50));
}

int RedOfCrAt(int offset, int modulus) {
    return Channel(1.164 * (128 - 16) + 1.596 * (offset % modulus - 50));
}

struct LumaExample {
    int width, x, y, offset;
};

// Two moduli, so that a wrong offset cannot pass by chance.
TEST(PictureLayout, EachPixelTakesTheLumaByteTheLayoutNames) {
    const LumaExample examples[] = {
        {704, 0, 32, 22528},                        // column 704: tile 22, byte 0 of line 0
        {720, 0, 32, 22544},                        // column 720: tile 22, byte 16 of line 0
        {720, 0, 0, 0},          {720, 31, 0, 31},  // the last column of tile 0
        {720, 32, 0, 1024},                         // the first of tile 1
        {720, 0, 1, 32},                            // line 1 of the band
        {720, 719, 575, 414719},                    // column 12959: tile 404, byte 31 of line 31
        {352, 351, 575, 202751},                    // column 6335: tile 197, byte 31 of line 31
        {528, 100, 40, 19732},                      // column 628: tile 19, byte 20 of line 8
        {544, 543, 33, 33855},                      // column 1087: tile 33, byte 31 of line 1
    };
    for (int modulus : {220, 219}) {
        const QByteArray dump = LumaDump(modulus);
        for (int width : {352, 528, 544, 704, 720}) {
            const DecodedPicture picture = DecodePicture(dump, width, kHeight);
            ASSERT_EQ(picture.width, width);
            for (const LumaExample& e : examples) {
                if (e.width != width) continue;
                const Pixel pixel = At(picture, e.x, e.y);
                const int grey = GreyOfLumaAt(e.offset, modulus);
                EXPECT_EQ(pixel.red, grey) << width << " (" << e.x << "," << e.y << ")";
                EXPECT_EQ(pixel.green, grey) << width << " (" << e.x << "," << e.y << ")";
                EXPECT_EQ(pixel.blue, grey) << width << " (" << e.x << "," << e.y << ")";
            }
        }
    }
}

struct ChromaExample {
    int width, x, y, cb;  // a pixel, and the offset of its Cb; its Cr is 4 further
};

TEST(PictureLayout, EachPixelTakesTheChromaBytesTheLayoutNames) {
    const ChromaExample examples[] = {
        {720, 0, 0, kChromaStart},
        {720, 1, 1, kChromaStart},         // the same 2 x 2 block
        {720, 32, 0, kChromaStart + 256},  // chroma (16, 0): second half, tile line 8
        {720, 0, 16, kChromaStart + 512},  // chroma (0, 8): tile line 16
        {720, 10, 6, 414825},              // chroma (5, 3): line 3, byte 9
        {720, 80, 40, 427392},             // chroma (40, 20): column 400, tile 12, line 12
        {720, 719, 575, 622331},           // chroma (359, 287): the last Cr is 622335
        {352, 351, 575, 516091},           // chroma (175, 287): the last Cr is 516095
    };
    for (int modulus : {101, 97}) {
        const QByteArray dump = ChromaDump(modulus);
        for (int width : {352, 720}) {
            const DecodedPicture picture = DecodePicture(dump, width, kHeight);
            for (const ChromaExample& e : examples) {
                if (e.width != width) continue;
                const Pixel pixel = At(picture, e.x, e.y);
                EXPECT_EQ(pixel.blue, BlueOfCbAt(e.cb, modulus))
                    << width << " (" << e.x << "," << e.y << ")";
                EXPECT_EQ(pixel.red, RedOfCrAt(e.cb + 4, modulus))
                    << width << " (" << e.x << "," << e.y << ")";
            }
        }
    }
}

}  // namespace
}  // namespace velarix
