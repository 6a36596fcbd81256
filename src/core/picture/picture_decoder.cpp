#include "picture/picture_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "picture/frame_layout.h"

namespace velarix {

namespace {

std::uint8_t Channel(double value) {
    const double rounded = std::nearbyint(value);  // the default rounding: halves to even
    return static_cast<std::uint8_t>(std::clamp(rounded, 0.0, 255.0));
}

// The last byte a picture of this width reads, plus one.
std::uint32_t BytesNeeded(int width, int height) {
    return std::max(LumaOffset(width, width - 1, height - 1),
                    ChromaOffset(width, (width - 1) / 2, (height - 1) / 2) + 4) +
           1;
}

// With a width that is a multiple of 16, the 16 pixels of a run from a
// multiple of 16 are 16 luma bytes of one tile line, and their 8 chroma pairs
// 16 bytes of one chroma tile line, for every line: the frame is read in place.
void ConvertInPlace(const std::uint8_t* frame, int width, int height, ConvertRuns convert,
                    std::uint8_t* out) {
    const int runCount = width / 16;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::vector<SampleRun> runs(runCount);
    std::vector<std::uint8_t> spare;  // the second line of a last line alone
    for (int y = 0; y < height; y += 2) {
        const int next = std::min(y + 1, height - 1);
        for (int k = 0; k < runCount; ++k) {
            runs[k] = {LumaOffset(width, 16 * k, y), LumaOffset(width, 16 * k, next),
                       ChromaOffset(width, 8 * k, y / 2)};
        }
        std::uint8_t* line1 = out + next * stride;
        if (next == y) {
            spare.resize(stride);
            line1 = spare.data();
        }
        convert(frame, runs.data(), runCount, out + y * stride, line1);
    }
}

// Any other width: the samples of each pair of lines are gathered into runs
// first, and the last run's pixels beyond the width are dropped.
void ConvertGathered(const std::uint8_t* frame, int width, int height, ConvertRuns convert,
                     std::uint8_t* out) {
    const int runCount = (width + 15) / 16;
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    std::vector<SampleRun> runs(runCount);
    for (int k = 0; k < runCount; ++k) {
        const auto at = static_cast<std::uint32_t>(48 * k);
        runs[k] = {at, at + 16, at + 32};
    }
    std::vector<std::uint8_t> samples(48 * runCount, 0);
    std::vector<std::uint8_t> lines(2 * 48 * runCount);
    std::uint8_t* line1 = lines.data() + 48 * runCount;
    for (int y = 0; y < height; y += 2) {
        const int next = std::min(y + 1, height - 1);
        for (int x = 0; x < width; ++x) {
            std::uint8_t* run = samples.data() + 48 * (x / 16);
            run[x % 16] = frame[LumaOffset(width, x, y)];
            run[16 + x % 16] = frame[LumaOffset(width, x, next)];
        }
        for (int xc = 0; 2 * xc < width; ++xc) {
            const int pair = xc % 8;
            std::uint8_t* cb = samples.data() + 48 * (xc / 8) + 32 + 8 * (pair / 4) + pair % 4;
            const std::uint32_t at = ChromaOffset(width, xc, y / 2);
            cb[0] = frame[at];
            cb[4] = frame[at + 4];
        }
        convert(samples.data(), runs.data(), runCount, lines.data(), line1);
        std::memcpy(out + y * stride, lines.data(), stride);
        if (next != y) std::memcpy(out + next * stride, line1, stride);
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
DecodedPicture DecodePictureWith(ConversionPath path, const char* bytes, std::int64_t count,
                                 int width, int height) {
    DecodedPicture picture{width, height, {}};
    const ConvertRuns convert = ConversionFor(path);
    if (width <= 0 || height <= 0 || !convert) return picture;
    picture.bgr = QByteArray(static_cast<qsizetype>(width) * height * 3, Qt::Uninitialized);
    const std::uint32_t needed = BytesNeeded(width, height);
    const std::int64_t usable = std::clamp<std::int64_t>(count, 0, kFrameBytesUsed);
    std::vector<std::uint8_t> padded;
    auto* frame = reinterpret_cast<const std::uint8_t*>(bytes);
    if (usable < needed) {
        padded.assign(needed, 0);
        if (usable > 0) std::memcpy(padded.data(), bytes, static_cast<std::size_t>(usable));
        frame = padded.data();
    }
    auto* out = reinterpret_cast<std::uint8_t*>(picture.bgr.data());
    if (width % 16 == 0) {
        ConvertInPlace(frame, width, height, convert, out);
    } else {
        ConvertGathered(frame, width, height, convert, out);
    }
    return picture;
}

DecodedPicture DecodePicture(const char* bytes, std::int64_t count, int width, int height) {
    return DecodePictureWith(FastestConversion(), bytes, count, width, height);
}

// The image holds a share of the decoded bytes, so it outlives the caller's
// DecodedPicture without a copy; Qt hands back the very image when a stretch
// keeps the size.
QImage ShapePicture(const DecodedPicture& picture, PictureShape shape) {
    if (picture.bgr.isEmpty()) return {};
    auto* held = new QByteArray(picture.bgr);
    const QImage decoded(
        reinterpret_cast<const uchar*>(held->constData()), picture.width, picture.height,
        static_cast<qsizetype>(picture.width) * 3, QImage::Format_BGR888,
        [](void* bytes) { delete static_cast<QByteArray*>(bytes); }, held);
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
