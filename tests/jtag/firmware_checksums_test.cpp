#include <gtest/gtest.h>

#include "jtag/firmware_checksums.h"
#include "recording_frame.h"
#include "shell/message_table.h"

namespace velarix {
namespace {

// CRC-32 values worked out by hand, bit by bit, from the polynomial.
constexpr std::uint32_t kFF64K = 0xDEAB7E4E;     // 65536 bytes of FF
constexpr std::uint32_t kFFShort = 0x632C64AE;   // FC00h bytes of FF
constexpr std::uint32_t kZeros150 = 0x7EC77234;  // 150h bytes of 00, then FF to 64 KiB

QByteArray Entry(std::uint32_t crc) {
    return QByteArray::fromHex(QByteArray::number(crc, 16).rightJustified(8, '0'));
}

// Bytes that differ from block to block, so that no two blocks share a CRC.
QByteArray Counting(int size) {
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i) bytes[i] = char((i * 7 + (i >> 16)) & 0xFF);
    return bytes;
}

TEST(Crc32BlockTest, TheStandardCheckValue) {
    EXPECT_EQ(Crc32Block(QByteArrayView("123456789")), 0xCBF43926u);
    EXPECT_EQ(Crc32Block(QByteArray(0x10000, '\xFF')), kFF64K);
    EXPECT_EQ(Crc32Block(QByteArrayView()), 0u);
}

TEST(FirmwareChecksumsTest, AnAllFFImageGivesNineteenEqualEntriesAndADifferentLastOne) {
    test::RecordingFrame frame;
    const FirmwareChecksums sums = ComputeFirmwareChecksums(QByteArray(0x140000, '\xFF'), &frame);
    ASSERT_EQ(sums.table.size(), 80);
    for (int k = 0; k < 19; ++k) EXPECT_EQ(sums.table.mid(4 * k, 4), Entry(kFF64K)) << k;
    EXPECT_EQ(sums.table.mid(76, 4), Entry(kFFShort));
    EXPECT_FALSE(sums.shortImage);
    // Most significant byte first.
    EXPECT_EQ(sums.table.left(4), QByteArray("\xDE\xAB\x7E\x4E", 4));
    // One line per block, 8 upper-case hexadecimal digits, in the EEPROM pane.
    const QStringList log = frame.Log(LogPane::Eeprom);
    ASSERT_EQ(log.size(), 20);
    for (int k = 0; k < 19; ++k) EXPECT_EQ(log[k], QStringLiteral("DEAB7E4E"));
    EXPECT_EQ(log[19], QStringLiteral("632C64AE"));
    EXPECT_TRUE(frame.Log(LogPane::Jtag).isEmpty());
}

// An image shorter than 13FC00h is not read past its end: what is missing
// counts as erased flash (FF), and the log says the image was short.
TEST(FirmwareChecksumsTest, AShortImageCountsItsMissingBytesAsFFAndSaysSo) {
    test::RecordingFrame frame;
    QByteArray image(0x150, '\0');
    const FirmwareChecksums sums = ComputeFirmwareChecksums(image, &frame);
    EXPECT_TRUE(sums.shortImage);
    EXPECT_EQ(sums.crcs[0], kZeros150);
    for (int k = 1; k < 19; ++k) EXPECT_EQ(sums.crcs[k], kFF64K) << k;
    EXPECT_EQ(sums.crcs[19], kFFShort);
    const QStringList log = frame.Log(LogPane::Eeprom);
    ASSERT_EQ(log.size(), 21);
    EXPECT_EQ(log[0], Msg(421));
    EXPECT_EQ(log[1], QStringLiteral("7EC77234"));

    // An image that ends inside the last block: that block is padded too.
    const FirmwareChecksums almost =
        ComputeFirmwareChecksums(QByteArray(0x13FBFF, '\xFF'), nullptr);
    EXPECT_TRUE(almost.shortImage);
    EXPECT_EQ(almost.crcs[19], kFFShort);
    EXPECT_FALSE(ComputeFirmwareChecksums(QByteArray(0x13FC00, '\xFF'), nullptr).shortImage);
}

TEST(FirmwareChecksumsTest, AtTheDefaultPositionTheStoredChecksumsStayValid) {
    QByteArray image = Counting(0x140000);
    const QByteArray before = image;
    test::RecordingFrame frame;
    ASSERT_TRUE(InsertFirmwareChecksums(image, 0x13FC00, &frame));
    EXPECT_EQ(image.size(), before.size());
    EXPECT_EQ(image.left(0x13FC00), before.left(0x13FC00));
    EXPECT_EQ(image.mid(0x13FC50), before.mid(0x13FC50));
    for (int k = 0; k < 20; ++k) {
        const int length = k == 19 ? 0xFC00 : 0x10000;
        EXPECT_EQ(image.mid(0x13FC00 + 4 * k, 4), Entry(Crc32Block(image.mid(k * 0x10000, length))))
            << k;
    }
    EXPECT_EQ(frame.Log(LogPane::Eeprom).size(), 20);
}

// 11FC00h lies in block 17 (110000h to 11FFFFh): the table is computed before
// it goes in, so block 17's entry no longer matches the final image.
TEST(FirmwareChecksumsTest, At11FC00TheTableFallsInsideBlock17) {
    EXPECT_EQ(0x11FC00 / 0x10000, 17);
    QByteArray image = Counting(0x140000);
    ASSERT_TRUE(InsertFirmwareChecksums(image, 0x11FC00, nullptr));
    for (int k = 0; k < 20; ++k) {
        const int length = k == 19 ? 0xFC00 : 0x10000;
        const QByteArray stored = image.mid(0x11FC00 + 4 * k, 4);
        if (k == 17) {
            EXPECT_NE(stored, Entry(Crc32Block(image.mid(k * 0x10000, length))));
            EXPECT_EQ(stored, Entry(Crc32Block(Counting(0x140000).mid(k * 0x10000, length))));
        } else {
            EXPECT_EQ(stored, Entry(Crc32Block(image.mid(k * 0x10000, length)))) << k;
        }
    }
}

TEST(FirmwareChecksumsTest, TheTableGoesInOnlyWhenItsLastByteIsInsideTheImage) {
    EXPECT_FALSE(ChecksumTableFits(0x100, 0x14F));  // 100h + 79 = 14Fh: not before the end
    EXPECT_TRUE(ChecksumTableFits(0x100, 0x150));
    EXPECT_FALSE(ChecksumTableFits(-1, 0x1000));
    QByteArray image(0x14F, '\0');
    EXPECT_FALSE(InsertFirmwareChecksums(image, 0x100, nullptr));
    EXPECT_EQ(image, QByteArray(0x14F, '\0'));
    image = QByteArray(0x150, '\0');
    ASSERT_TRUE(InsertFirmwareChecksums(image, 0x100, nullptr));
    EXPECT_EQ(image.left(0x100), QByteArray(0x100, '\0'));
    EXPECT_EQ(image.mid(0x100, 4), Entry(kZeros150));
    EXPECT_EQ(image.mid(0x104, 4), Entry(kFF64K));
    EXPECT_EQ(image.mid(0x14C, 4), Entry(kFFShort));
    EXPECT_EQ(ChecksumPositionOf(QStringLiteral("13FC00")), 0x13FC00);
    EXPECT_FALSE(ChecksumPositionOf(QStringLiteral("13fc00")).has_value());
    EXPECT_FALSE(ChecksumPositionOf(QString()).has_value());
}

}  // namespace
}  // namespace velarix
