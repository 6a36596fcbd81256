#include "test_frame.h"

namespace velarix::sim {

namespace {

constexpr int kFrameBytes = 0x98000;
constexpr int kHeight = 576;
constexpr int kChroma = 414720;

// Samples are stored in tiles of 32 lines of 32 bytes. A luma column is one
// pixel of a 32-line band, counted through the whole picture band by band;
// chroma columns likewise, over bands of 16 chroma lines, with each tile
// split into two halves of 16 columns and lines alternating four Cb and four
// Cr bytes.
int LumaAt(int width, int x, int y) {
    const int column = width * (y / 32) + x;
    return (column / 32) * 1024 + (y % 32) * 32 + column % 32;
}

int CbAt(int width, int xc, int yc) {
    const int column = (width / 2) * (yc / 16) + xc;
    const int tile = column / 32;
    const int half = (column % 32) >= 16 ? 1 : 0;
    const int within = column % 16;
    const int row = yc % 16;
    const int line = (row < 8 ? 0 : 16) + half * 8 + row % 8;
    return kChroma + tile * 1024 + line * 32 + (within / 4) * 8 + within % 4;
}

Ycc ColourAt(int width, int x, int y) {
    if (y >= kHeight * 3 / 4) return {16 + 219 * x / width, 128, 128};
    return BarColour(8 * x / width);
}

}  // namespace

Ycc BarColour(int bar) {
    static const Ycc bars[8] = {{235, 128, 128}, {210, 16, 146}, {170, 166, 16}, {145, 54, 34},
                                {106, 202, 222}, {81, 90, 240},  {41, 240, 110}, {16, 128, 128}};
    return bars[bar & 7];
}

QByteArray TestFrame(int width) {
    QByteArray frame(kFrameBytes, '\0');
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < width; ++x) {
            const Ycc colour = ColourAt(width, x, y);
            frame[LumaAt(width, x, y)] = static_cast<char>(colour.y);
            if (x % 2 == 0 && y % 2 == 0) {
                const int cb = CbAt(width, x / 2, y / 2);
                frame[cb] = static_cast<char>(colour.cb);
                frame[cb + 4] = static_cast<char>(colour.cr);
            }
        }
    }
    return frame;
}

}  // namespace velarix::sim
