#include "picture/picture_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "picture/frame_layout.h"

namespace velarix {

namespace {

std::uint8_t Channel(double value) {
    const double rounded = std::nearbyint(value);  // the default rounding: halves to even
    return static_cast<std::uint8_t>(std::clamp(rounded, 0.0, 255.0));
}

// Rounds to the nearest integer, halves to even, as nearbyint does in the
// default rounding mode: adding and taking away 1.5 x 2^52 leaves the double
// rounded to a whole number.
inline double RoundToEven(double value) {
    constexpr double kShift = 6755399441055744.0;
    return (value + kShift) - kShift;
}

inline std::uint8_t Clamped(double rounded) {
    return static_cast<std::uint8_t>(std::min(std::max(rounded, 0.0), 255.0));
}

// Red and blue depend on two samples each, so both come from tables of every
// pair; green takes the luma term from a table and the chroma terms once per
// 2 x 2 pixels. Every term is computed with the very arithmetic of one pixel
// alone, in the same order, so the results are the same to the bit.
struct Tables {
    std::array<std::uint8_t, 65536> red;   // [luma][cr]
    std::array<std::uint8_t, 65536> blue;  // [luma][cb]
    std::array<double, 256> luma;          // 1.164 (L - 16)
    Tables() {
        for (int l = 0; l < 256; ++l) {
            luma[l] = 1.164 * (l - 16);
            for (int c = 0; c < 256; ++c) {
                red[l * 256 + c] = Channel(1.164 * (l - 16) + 1.596 * (c - 128));
                blue[l * 256 + c] = Channel(1.164 * (l - 16) + 2.018 * (c - 128));
            }
        }
    }
};

const Tables& ConversionTables() {
    static const Tables tables;
    return tables;
}

// The last byte a picture of this width reads, plus one.
std::uint32_t BytesNeeded(int width, int height) {
    if (width <= 0 || height <= 0) return 0;
    return std::max(LumaOffset(width, width - 1, height - 1),
                    ChromaOffset(width, (width - 1) / 2, (height - 1) / 2) + 4) +
           1;
}

// One line of pixels; `frame` holds every byte the line reads.
void DecodeLine(const std::uint8_t* frame, int width, int y, const Tables& tables,
                std::uint8_t* out) {
    const std::uint32_t band = static_cast<std::uint32_t>(width) * (y / 32);
    const std::uint32_t line = 32 * (y % 32);
    for (int x = 0; x < width; x += 2) {
        const std::uint32_t chroma = ChromaOffset(width, x / 2, y / 2);
        const int cb = frame[chroma];
        const int cr = frame[chroma + 4];
        const double fromCr = 0.813 * (cr - 128);
        const double fromCb = 0.391 * (cb - 128);
        const int pixels = std::min(2, width - x);
        for (int i = 0; i < pixels; ++i) {
            const std::uint32_t n = band + x + i;
            const int l = frame[1024 * (n / 32) + line + n % 32];
            out[0] = tables.blue[l * 256 + cb];
            out[1] = Clamped(RoundToEven(tables.luma[l] - fromCr - fromCb));
            out[2] = tables.red[l * 256 + cr];
            out += 3;
        }
    }
}

}  // namespace

std::array<std::uint8_t, 3> ConvertBt601(int l, int cb, int cr) {
    return {Channel(1.164 * (l - 16) + 1.596 * (cr - 128)),
            Channel(1.164 * (l - 16) - 0.813 * (cr - 128) - 0.391 * (cb - 128)),
            Channel(1.164 * (l - 16) + 2.018 * (cb - 128))};
}

// A dump that stops short of what the width needs is read as if the missing
// bytes were 0.
DecodedPicture DecodePicture(const char* bytes, std::int64_t count, int width, int height) {
    DecodedPicture picture{width, height,
                           QByteArray(static_cast<qsizetype>(width) * height * 3, '\0')};
    const std::uint32_t needed = BytesNeeded(width, height);
    const std::int64_t usable = std::clamp<std::int64_t>(count, 0, kFrameBytesUsed);
    QByteArray padded;
    auto* frame = reinterpret_cast<const std::uint8_t*>(bytes);
    if (usable < needed) {
        padded = QByteArray(needed, '\0');
        if (usable > 0) std::memcpy(padded.data(), bytes, static_cast<std::size_t>(usable));
        frame = reinterpret_cast<const std::uint8_t*>(padded.constData());
    }
    const Tables& tables = ConversionTables();
    auto* out = reinterpret_cast<std::uint8_t*>(picture.bgr.data());
    for (int y = 0; y < height; ++y)
        DecodeLine(frame, width, y, tables, out + static_cast<std::size_t>(y) * width * 3);
    return picture;
}

// The picture owns its pixels: Qt hands back the very image when a stretch
// keeps the size, and the decoded bytes do not outlive this call's caller.
QImage ShapePicture(const DecodedPicture& picture, PictureShape shape) {
    const QImage decoded =
        QImage(reinterpret_cast<const uchar*>(picture.bgr.constData()), picture.width,
               picture.height, picture.width * 3, QImage::Format_BGR888)
            .copy();
    switch (shape) {
        case PictureShape::Wide:
            return decoded.scaled(1024, 576, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        case PictureShape::Standard:
            return decoded.scaled(720, 576, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        case PictureShape::Original:
            break;
    }
    return decoded;
}

}  // namespace velarix
