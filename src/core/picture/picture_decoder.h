#pragma once

#include <QByteArray>
#include <QImage>
#include <array>
#include <cstdint>

#include "picture/run_conversion.h"

namespace velarix {

// The display shapes of the "Imagen" page.
enum class PictureShape { Wide, Standard, Original };  // "16:9", "4:3", "No cambiar el formato"

// A decoded frame: width x height pixels, 24 bits each, stored blue, green,
// red, rows without padding.
struct DecodedPicture {
    int width = 0;
    int height = 0;
    QByteArray bgr;
};

// One pixel by the BT.601 studio-range equations, in floating point, each
// channel rounded to the nearest integer (halves to even) and clamped to 0-255.
std::array<std::uint8_t, 3> ConvertBt601(int luma, int cb, int cr);  // red, green, blue

// Decodes the first 640,000 bytes at most of a frame-memory image; samples
// whose bytes the image does not reach read as 0. A width or height below 1
// gives a picture without pixels.
DecodedPicture DecodePicture(const char* bytes, std::int64_t count, int width, int height);
// The same by a chosen way of converting (DecodePicture takes the fastest);
// a way this processor has not got gives a picture without pixels.
DecodedPicture DecodePictureWith(ConversionPath path, const char* bytes, std::int64_t count,
                                 int width, int height);
inline DecodedPicture DecodePicture(const QByteArray& image, int width, int height) {
    return DecodePicture(image.constData(), image.size(), width, height);
}

// The picture as the page shows it: stretched smoothly to 1024 x 576 ("16:9")
// or 720 x 576 ("4:3"), or as it is. A picture that keeps its size shares the
// decoded bytes (they are copied only if the image is ever changed).
QImage ShapePicture(const DecodedPicture& picture, PictureShape shape);

}  // namespace velarix
