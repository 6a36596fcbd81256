#include "picture/picture_files.h"

#include <jpeglib.h>
#include <QBuffer>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "shell/whole_file.h"

namespace velarix {

// Qt writes a bitmap of an image without alpha at 24 bits per pixel, from
// 32-bit rows; a 24-bit picture goes to 32 bits once, and any other is first
// taken to 24-bit RGB as before, so the file is the same either way.
std::optional<QString> SaveBmp(const QImage& picture, const QString& path) {
    const bool direct = picture.format() == QImage::Format_BGR888 ||
                        picture.format() == QImage::Format_RGB888 ||
                        picture.format() == QImage::Format_RGB32;
    const QImage rows = direct ? picture.convertToFormat(QImage::Format_RGB32)
                               : picture.convertToFormat(QImage::Format_RGB888);
    QByteArray bytes;
    bytes.reserve(54 +
                  static_cast<qsizetype>((picture.width() * 3 + 3) / 4 * 4) * picture.height());
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (!rows.save(&buffer, "BMP")) {
        return path + QStringLiteral(": the picture could not be encoded");
    }
    return WriteWholeFile(path, bytes);
}

namespace {

// libjpeg writes into one QByteArray sized up front for the worst case of a
// picture of this size (3 bytes a pixel of 16 x 16 blocks, and the headers),
// so that it never grows in the usual case; it doubles if ever it must.
struct ByteArrayDestination {
    jpeg_destination_mgr manager;  // first, so that libjpeg's pointer is this one's
    QByteArray* bytes;
};

ByteArrayDestination& DestinationOf(j_compress_ptr info) {
    return *reinterpret_cast<ByteArrayDestination*>(info->dest);
}

void StartAt(ByteArrayDestination& dest, qsizetype at) {
    dest.manager.next_output_byte = reinterpret_cast<JOCTET*>(dest.bytes->data()) + at;
    dest.manager.free_in_buffer = static_cast<std::size_t>(dest.bytes->size() - at);
}

void InitDestination(j_compress_ptr info) {
    StartAt(DestinationOf(info), 0);
}

boolean GrowDestination(j_compress_ptr info) {
    ByteArrayDestination& dest = DestinationOf(info);
    const qsizetype full = dest.bytes->size();
    dest.bytes->resize(2 * full);
    StartAt(dest, full);
    return TRUE;
}

void TermDestination(j_compress_ptr info) {
    ByteArrayDestination& dest = DestinationOf(info);
    dest.bytes->resize(dest.bytes->size() - static_cast<qsizetype>(dest.manager.free_in_buffer));
}

qsizetype WorstCaseSize(int width, int height) {
    const auto padded = [](int size) { return static_cast<qsizetype>((size + 15) / 16) * 16; };
    return padded(width) * padded(height) * 3 + 2048;
}

// The rows libjpeg takes as they are, and the colour order it reads them in;
// other formats are converted to 24-bit RGB first.
struct JpegRows {
    QImage image;
    J_COLOR_SPACE space = JCS_RGB;
    int components = 3;
};

JpegRows RowsOf(const QImage& picture) {
    switch (picture.format()) {
        case QImage::Format_BGR888:
            return {picture, JCS_EXT_BGR, 3};
        case QImage::Format_RGB888:
            return {picture, JCS_RGB, 3};
        case QImage::Format_RGB32:  // 0xffRRGGBB words
            return {picture, Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? JCS_EXT_BGRX : JCS_EXT_XRGB, 4};
        default:
            return {picture.convertToFormat(QImage::Format_RGB888), JCS_RGB, 3};
    }
}

constexpr int kLargestJpegSide = 65500;

}  // namespace

QByteArray EncodeJpeg(const QImage& picture, int quality) {
    return EncodeJpeg(picture, quality, WorstCaseSize(picture.width(), picture.height()));
}

QByteArray EncodeJpeg(const QImage& picture, int quality, qsizetype bufferSize) {
    if (picture.isNull() || picture.width() > kLargestJpegSide ||
        picture.height() > kLargestJpegSide) {
        return {};
    }
    const JpegRows rows = RowsOf(picture);
    std::vector<JSAMPROW> lines(static_cast<std::size_t>(rows.image.height()));
    for (int y = 0; y < rows.image.height(); ++y)
        lines[y] = const_cast<JSAMPROW>(rows.image.constScanLine(y));
    QByteArray bytes(std::max<qsizetype>(bufferSize, 1), Qt::Uninitialized);
    ByteArrayDestination dest{{}, &bytes};
    dest.manager.init_destination = InitDestination;
    dest.manager.empty_output_buffer = GrowDestination;
    dest.manager.term_destination = TermDestination;
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.dest = &dest.manager;
    info.image_width = static_cast<JDIMENSION>(rows.image.width());
    info.image_height = static_cast<JDIMENSION>(rows.image.height());
    info.input_components = rows.components;
    info.in_color_space = rows.space;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);  // baseline tables
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        jpeg_write_scanlines(&info, lines.data() + info.next_scanline,
                             info.image_height - info.next_scanline);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return bytes;
}

std::optional<QString> SaveJpeg(const QImage& picture, const QString& path, int quality) {
    const QByteArray bytes = EncodeJpeg(picture, quality);
    if (bytes.isEmpty()) return path + QStringLiteral(": the picture could not be encoded");
    return WriteWholeFile(path, bytes);
}

}  // namespace velarix
