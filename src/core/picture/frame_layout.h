#pragma once

#include <cstdint>

namespace velarix {

// Where the decoder's frame memory keeps each sample. The memory is cut into
// tiles of 1024 bytes (32 lines of 32 bytes). Luma fills 405 tiles from byte
// 0 (room for 720 x 576 whatever the width); chroma starts right after.
//
// Luma: the picture is cut into bands of 32 lines; a luma column is one pixel
// wide and one band high, numbered through the picture band after band
// (n = W * (Y / 32) + X) without restarting at band ends, so that with W = 720
// a band ends in the middle of a tile. Column n is byte n % 32 of each line of
// tile n / 32, line r holding the band's line r.
//
// Chroma: one Cb and one Cr per 2 x 2 pixels, on a grid W/2 wide and 288
// high, cut into bands of 16 chroma lines. Columns are numbered the same way
// (m = (W/2) * (Yc / 16) + Xc); each tile holds 32 columns, the first 16 in
// lines 0-7 and 16-23, the second 16 in lines 8-15 and 24-31; along a line,
// four Cb samples and four Cr samples alternate, Cb first.
inline constexpr std::uint32_t kLumaBytes = 414720;
inline constexpr std::uint32_t kChromaStart = kLumaBytes;
inline constexpr std::uint32_t kFrameBytesUsed = 640000;  // a longer image is cut here

inline std::uint32_t LumaOffset(int width, int x, int y) {
    const std::uint32_t n = static_cast<std::uint32_t>(width) * (y / 32) + x;
    return 1024 * (n / 32) + 32 * (y % 32) + n % 32;
}

// The Cb sample of chroma position (xc, yc); the Cr sample is 4 bytes on.
inline std::uint32_t ChromaOffset(int width, int xc, int yc) {
    const std::uint32_t m = static_cast<std::uint32_t>(width / 2) * (yc / 16) + xc;
    const std::uint32_t half = (m % 32) / 16;
    const std::uint32_t x = m % 16;
    const std::uint32_t y = yc % 16;
    const std::uint32_t line = 16 * (y / 8) + 8 * half + (y % 8);
    return kChromaStart + 1024 * (m / 32) + 32 * line + 8 * (x / 4) + (x % 4);
}

}  // namespace velarix
