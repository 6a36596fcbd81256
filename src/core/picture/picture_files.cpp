#include "picture/picture_files.h"

#include <jpeglib.h>
#include <QBuffer>
#include <cstdio>

#include "shell/whole_file.h"

namespace velarix {

std::optional<QString> SaveBmp(const QImage& picture, const QString& path) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // Qt writes a bitmap of an image without alpha at 24 bits per pixel.
    if (!picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP")) {
        return path + QStringLiteral(": the picture could not be encoded");
    }
    return WriteWholeFile(path, bytes);
}

QByteArray EncodeJpeg(const QImage& picture, int quality) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = static_cast<JDIMENSION>(rgb.width());
    info.image_height = static_cast<JDIMENSION>(rgb.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, std::clamp(quality, 1, 100), TRUE);  // baseline tables
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row =
            const_cast<JSAMPROW>(rgb.constScanLine(static_cast<int>(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(memory), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(memory);
    return bytes;
}

std::optional<QString> SaveJpeg(const QImage& picture, const QString& path, int quality) {
    return WriteWholeFile(path, EncodeJpeg(picture, quality));
}

}  // namespace velarix
