#include <gtest/gtest.h>

#include <jpeglib.h>
#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTemporaryDir>
#include <cstdio>

#include "picture/frame_layout.h"
#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "test_frame.h"

namespace velarix {
namespace {

using Rgb = std::array<std::uint8_t, 3>;

TEST(Bt601, BlackWhiteAndClamping) {
    EXPECT_EQ(ConvertBt601(16, 128, 128), (Rgb{0, 0, 0}));
    EXPECT_EQ(ConvertBt601(235, 128, 128), (Rgb{255, 255, 255}));  // 254.916 rounds up
    EXPECT_EQ(ConvertBt601(0, 128, 128), (Rgb{0, 0, 0}));          // -18.624 clamped
    EXPECT_EQ(ConvertBt601(128, 128, 255), (Rgb{255, 27, 130}));   // 333.06, 27.117, 130.368
}

TEST(FrameLayout, LumaColumnsRunThroughTheBands) {
    EXPECT_EQ(LumaOffset(704, 0, 32), 22528u);  // column 704: tile 22, byte 0
    EXPECT_EQ(LumaOffset(720, 0, 32), 22544u);  // column 720: tile 22, byte 16
    EXPECT_EQ(LumaOffset(720, 31, 0), 31u);
    EXPECT_EQ(LumaOffset(720, 32, 0), 1024u);
    EXPECT_EQ(LumaOffset(720, 0, 1), 32u);
    EXPECT_EQ(LumaOffset(720, 719, 575), kLumaBytes - 1);
}

TEST(FrameLayout, ChromaAlternatesFourCbAndFourCr) {
    EXPECT_EQ(ChromaOffset(720, 0, 0), kChromaStart);
    EXPECT_EQ(ChromaOffset(720, 16, 0), kChromaStart + 256);      // second half: tile line 8
    EXPECT_EQ(ChromaOffset(720, 16, 0) + 4, kChromaStart + 260);  // its Cr
    EXPECT_EQ(ChromaOffset(720, 0, 8), kChromaStart + 512);       // tile line 16
    EXPECT_EQ(ChromaOffset(720, 4, 0), kChromaStart + 8);
    EXPECT_EQ(ChromaOffset(720, 359, 287) + 4, 622335u);  // the last chroma byte used
    EXPECT_EQ(ChromaOffset(352, 175, 287) + 4, 516095u);
}

// A frame filled with one luma and one chroma pair decodes to one colour.
QByteArray Flat(int luma, int cb, int cr) {
    QByteArray frame(622592, static_cast<char>(luma));
    for (std::uint32_t i = kChromaStart; i < static_cast<std::uint32_t>(frame.size()); ++i) {
        frame[i] = static_cast<char>((i % 8) < 4 ? cb : cr);
    }
    return frame;
}

// A capture read-out of noise.
QByteArray NoiseFrame() {
    QByteArray frame(622592, '\0');
    std::uint32_t state = 12345;
    for (char& byte : frame) {
        state = state * 1664525u + 1013904223u;
        byte = static_cast<char>(state >> 24);
    }
    return frame;
}

TEST(DecodePicture, FlatFramesGiveFlatPicturesInBlueGreenRedOrder) {
    for (int width : {352, 528, 544, 704, 720}) {
        const DecodedPicture picture = DecodePicture(Flat(128, 128, 255), width, 576);
        ASSERT_EQ(picture.bgr.size(), width * 576 * 3);
        EXPECT_EQ(picture.bgr.left(3), QByteArray("\x82\x1b\xff", 3)) << width;
        EXPECT_EQ(picture.bgr.right(3), QByteArray("\x82\x1b\xff", 3)) << width;
    }
}

TEST(DecodePicture, EachPixelTakesItsOwnSamples) {
    QByteArray frame(622592, '\x10');
    for (std::uint32_t i = kChromaStart; i < 622592; ++i) frame[i] = '\x80';
    frame[LumaOffset(720, 5, 33)] = static_cast<char>(235);
    frame[ChromaOffset(720, 20, 30)] = static_cast<char>(255);  // Cb of pixels (40..41, 60..61)
    const DecodedPicture picture = DecodePicture(frame, 720, 576);
    auto pixel = [&](int x, int y) { return picture.bgr.mid((y * 720 + x) * 3, 3); };
    EXPECT_EQ(pixel(5, 33), QByteArray(3, '\xFF'));
    EXPECT_EQ(pixel(6, 33), QByteArray(3, '\0'));
    EXPECT_EQ(static_cast<quint8>(pixel(41, 61)[0]), 255);  // blue from Cb 255
    EXPECT_EQ(static_cast<quint8>(pixel(42, 61)[0]), 0);
}

TEST(DecodePicture, OnlyTheFirst640000BytesCount) {
    QByteArray frame(640001, '\0');
    for (int i = 0; i < frame.size(); ++i) frame[i] = static_cast<char>(i * 7 + (i >> 9));
    const DecodedPicture longer = DecodePicture(frame, 720, 576);
    const DecodedPicture exact = DecodePicture(frame.left(640000), 720, 576);
    EXPECT_EQ(longer.bgr, exact.bgr);
}

// A pixel as the decoded picture stores it: blue, green, red.
QByteArray Stored(int luma, int cb, int cr) {
    const Rgb rgb = ConvertBt601(luma, cb, cr);
    return QByteArray{reinterpret_cast<const char*>(std::array{rgb[2], rgb[1], rgb[0]}.data()), 3};
}

TEST(DecodePicture, BytesAShortDumpLacksReadAsZero) {
    const QByteArray frame = Flat(235, 128, 128);
    const DecodedPicture picture = DecodePicture(frame.left(1000), 720, 576);
    EXPECT_EQ(picture.bgr.left(3), Stored(235, 0, 0));  // luma there, chroma not
    EXPECT_EQ(picture.bgr.right(3), Stored(0, 0, 0));   // neither
    EXPECT_EQ(DecodePicture(QByteArray(), 352, 576).bgr.left(3), Stored(0, 0, 0));
}

TEST(ShapePicture, APictureOutlivesItsDecodedBytes) {
    QImage shown;
    {
        const DecodedPicture picture = DecodePicture(Flat(235, 128, 128), 720, 576);
        shown = ShapePicture(picture, PictureShape::Standard);  // the same size: no stretch
    }
    QByteArray scratch(720 * 576 * 3, '\x11');  // likely to reuse the freed memory
    EXPECT_EQ(shown.pixelColor(360, 288), QColor(255, 255, 255));
    EXPECT_EQ(scratch[0], '\x11');
}

// "No cambiar el formato", and "4:3" at 720 pixels, show the decoded bytes
// themselves; changing the image leaves them alone.
TEST(ShapePicture, AnUnstretchedPictureSharesTheDecodedBytes) {
    const DecodedPicture picture = DecodePicture(Flat(235, 128, 128), 720, 576);
    for (PictureShape shape : {PictureShape::Original, PictureShape::Standard}) {
        QImage shown = ShapePicture(picture, shape);
        EXPECT_EQ(shown.constBits(), reinterpret_cast<const uchar*>(picture.bgr.constData()));
        shown.setPixelColor(0, 0, QColor(1, 2, 3));
        EXPECT_EQ(shown.pixelColor(0, 0), QColor(1, 2, 3));
        EXPECT_EQ(picture.bgr.left(3), QByteArray(3, '\xFF'));
    }
}

TEST(ShapePicture, EachShapeHasItsSize) {
    const DecodedPicture picture = DecodePicture(Flat(128, 128, 128), 528, 576);
    EXPECT_EQ(ShapePicture(picture, PictureShape::Wide).size(), QSize(1024, 576));
    EXPECT_EQ(ShapePicture(picture, PictureShape::Standard).size(), QSize(720, 576));
    EXPECT_EQ(ShapePicture(picture, PictureShape::Original).size(), QSize(528, 576));
    EXPECT_EQ(ShapePicture(picture, PictureShape::Wide).pixelColor(500, 300),
              QColor(130, 130, 130));
}

TEST(PictureFiles, ABitmapReadsBackPixelForPixel) {
    QByteArray frame(622592, '\0');
    for (int i = 0; i < frame.size(); ++i) frame[i] = static_cast<char>((i * 31) ^ (i >> 11));
    const QImage picture = ShapePicture(DecodePicture(frame, 352, 576), PictureShape::Original);
    QTemporaryDir dir;
    const QString path = dir.filePath("frame.jpg");  // the name does not choose the format
    ASSERT_EQ(SaveBmp(picture, path), std::nullopt);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("BM"));
    EXPECT_EQ(static_cast<quint8>(bytes[28]), 24);  // bits per pixel
    QImageReader reader(path, "BMP");
    const QImage back = reader.read().convertToFormat(QImage::Format_RGB888);
    EXPECT_EQ(back, picture.convertToFormat(QImage::Format_RGB888));
}

// A 24-bit picture goes to Qt's bitmap writer in 32-bit rows, converted once;
// the file is the one Qt writes for the picture taken to 24-bit RGB first.
TEST(PictureFiles, BitmapBytesAreThoseOfQtsWriterOnRgbRows) {
    const QByteArray frame = NoiseFrame();
    const QImage pictures[] = {
        ShapePicture(DecodePicture(frame, 720, 576), PictureShape::Original),
        ShapePicture(DecodePicture(frame, 351, 575), PictureShape::Original),  // padded rows
        ShapePicture(DecodePicture(frame, 528, 576), PictureShape::Wide),
        ShapePicture(DecodePicture(frame, 352, 576), PictureShape::Original)
            .convertToFormat(QImage::Format_RGB32),
        ShapePicture(DecodePicture(frame, 352, 576), PictureShape::Original)
            .convertToFormat(QImage::Format_Grayscale8),
    };
    QTemporaryDir dir;
    for (const QImage& picture : pictures) {
        QByteArray expected;
        QBuffer buffer(&expected);
        buffer.open(QIODevice::WriteOnly);
        ASSERT_TRUE(picture.convertToFormat(QImage::Format_RGB888).save(&buffer, "BMP"));
        ASSERT_EQ(SaveBmp(picture, dir.filePath("x.bmp")), std::nullopt);
        QFile file(dir.filePath("x.bmp"));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_TRUE(file.readAll() == expected) << "format " << picture.format() << ", "
                                                << picture.width() << " x " << picture.height();
    }
}

// The quantization tables libjpeg makes for a quality, from its own interface.
std::array<unsigned, 64> ExpectedLumaTable(int quality) {
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    info.in_color_space = JCS_RGB;
    info.input_components = 3;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    std::array<unsigned, 64> table{};
    for (int i = 0; i < 64; ++i) table[i] = info.quant_tbl_ptrs[0]->quantval[i];
    jpeg_destroy_compress(&info);
    return table;
}

struct JpegHeader {
    std::array<unsigned, 64> lumaTable{};
    int components = 0;
    bool progressive = true;
    int width = 0;
};

JpegHeader ReadHeader(const QByteArray& jpeg) {
    jpeg_decompress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(jpeg.constData()), jpeg.size());
    jpeg_read_header(&info, TRUE);
    JpegHeader header;
    for (int i = 0; i < 64; ++i) header.lumaTable[i] = info.quant_tbl_ptrs[0]->quantval[i];
    header.components = info.num_components;
    header.progressive = info.progressive_mode;
    header.width = static_cast<int>(info.image_width);
    jpeg_destroy_decompress(&info);
    return header;
}

TEST(PictureFiles, JpegQualityIsTheEncodersOwn) {
    const QImage picture =
        ShapePicture(DecodePicture(Flat(100, 90, 160), 720, 576), PictureShape::Wide);
    for (int quality : {1, 100, 75}) {
        const JpegHeader header = ReadHeader(EncodeJpeg(picture, quality));
        EXPECT_EQ(header.lumaTable, ExpectedLumaTable(quality)) << quality;
        EXPECT_EQ(header.components, 3);
        EXPECT_FALSE(header.progressive);
        EXPECT_EQ(header.width, 1024);
    }
    EXPECT_NE(ExpectedLumaTable(1), ExpectedLumaTable(100));
}

// How a picture was saved before libjpeg read the rows in place: converted to
// 24-bit RGB, then written a row at a time into libjpeg's own memory buffer.
QByteArray PlainJpeg(const QImage& picture, int quality) {
    const QImage rgb = picture.convertToFormat(QImage::Format_RGB888);
    jpeg_compress_struct info{};
    jpeg_error_mgr errors{};
    info.err = jpeg_std_error(&errors);
    jpeg_create_compress(&info);
    unsigned char* memory = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &memory, &size);
    info.image_width = rgb.width();
    info.image_height = rgb.height();
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.constScanLine(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    QByteArray bytes(reinterpret_cast<const char*>(memory), static_cast<qsizetype>(size));
    jpeg_destroy_compress(&info);
    std::free(memory);
    return bytes;
}

// Blue-green-red rows (every shape the page shows), RGB rows and 32-bit rows
// go to libjpeg as they are; any other format is converted. The file is the
// same to the byte either way.
TEST(PictureFiles, JpegBytesAreThoseOfPlainRgbRows) {
    const DecodedPicture noise = DecodePicture(NoiseFrame(), 720, 576);
    const DecodedPicture bars = DecodePicture(sim::TestFrame(528), 528, 576);
    const QImage pictures[] = {
        ShapePicture(noise, PictureShape::Original),
        ShapePicture(noise, PictureShape::Wide),
        ShapePicture(bars, PictureShape::Standard),
        ShapePicture(bars, PictureShape::Original).convertToFormat(QImage::Format_RGB32),
        ShapePicture(noise, PictureShape::Original).convertToFormat(QImage::Format_RGB888),
        ShapePicture(DecodePicture(NoiseFrame(), 351, 575), PictureShape::Original),  // odd rows
        ShapePicture(bars, PictureShape::Original).convertToFormat(QImage::Format_Grayscale8),
    };
    for (const QImage& picture : pictures) {
        for (int quality : {1, 75, 100}) {
            EXPECT_TRUE(EncodeJpeg(picture, quality) == PlainJpeg(picture, quality))
                << "format " << picture.format() << ", " << picture.width() << " x "
                << picture.height() << ", quality " << quality;
        }
    }
}

TEST(PictureFiles, AJpegOutgrowingItsBufferIsWholeAndTheSame) {
    const QImage picture =
        ShapePicture(DecodePicture(NoiseFrame(), 352, 576), PictureShape::Original);
    const QByteArray whole = PlainJpeg(picture, 100);
    for (qsizetype start : {1, 1000, 100000}) {
        EXPECT_TRUE(EncodeJpeg(picture, 100, start) == whole) << start;
    }
}

TEST(PictureFiles, APictureWithoutPixelsIsNotWritten) {
    QTemporaryDir dir;
    EXPECT_TRUE(EncodeJpeg(QImage(), 75).isEmpty());
    EXPECT_NE(SaveJpeg(QImage(), dir.filePath("x.jpg"), 75), std::nullopt);
    EXPECT_FALSE(QFile::exists(dir.filePath("x.jpg")));
}

TEST(PictureFiles, AFolderThatIsNotThereIsReported) {
    const QImage picture(4, 4, QImage::Format_RGB888);
    EXPECT_NE(SaveJpeg(picture, "/nonexistent-folder/x.jpg", 80), std::nullopt);
    EXPECT_NE(SaveBmp(picture, "/nonexistent-folder/x.bmp"), std::nullopt);
}

}  // namespace
}  // namespace velarix
