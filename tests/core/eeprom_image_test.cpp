#include <gtest/gtest.h>

#include <QSignalSpy>

#include "eeprom/eeprom_image.h"
#include "recording_frame.h"

namespace velarix {
namespace {

TEST(EepromImage, StartsAllFF) {
    EepromImage image;
    EXPECT_EQ(image.GetImageBytes(), QByteArray(2048, '\xFF'));
    EXPECT_FALSE(image.FirstInvalidCell());
}

TEST(EepromImage, GridCoordinatesMatchAddresses) {
    EepromImage image;
    image.SetCellAt(3, 11, QStringLiteral("12"));  // row 2, column A
    EXPECT_EQ(image.Cell(0x2A), QStringLiteral("12"));
    EXPECT_EQ(image.RowText(2).mid(20, 2), QStringLiteral("12"));
}

TEST(ValidateImage, NamesTheFirstBadCellAndShowsOneError) {
    EepromImage image;
    test::RecordingFrame frame;
    image.SetCellAt(3, 11, QString());             // address 02A
    image.SetCellAt(100, 1, QStringLiteral("5"));  // later, not reported
    EXPECT_FALSE(ValidateImage(image, frame));
    ASSERT_EQ(frame.boxes.size(), 1);
    EXPECT_EQ(frame.boxes[0].kind, BoxKind::Error);
    EXPECT_EQ(frame.boxes[0].text, QStringLiteral("¡ La dirección 02A contiene un dato erroneo !"));
}

TEST(ValidateImage, RefusesLowerCaseSingleDigitsAndLongTexts) {
    for (const char* bad : {"a5", "5", "FFF", "G1"}) {
        EepromImage image;
        test::RecordingFrame frame;
        image.SetCell(0x7FF, QString::fromLatin1(bad));
        EXPECT_FALSE(ValidateImage(image, frame)) << bad;
        EXPECT_TRUE(frame.boxes[0].text.contains(QStringLiteral("7FF"))) << bad;
    }
}

TEST(ValidateImage, AcceptsAValidImageSilently) {
    EepromImage image;
    test::RecordingFrame frame;
    EXPECT_TRUE(ValidateImage(image, frame));
    EXPECT_TRUE(frame.boxes.isEmpty());
}

TEST(PutImageBytes, ChangesOnlyTheCellsInRange) {
    EepromImage image;
    image.PutImageBytes(QByteArray::fromHex("0102030405"), 16, 4);
    EXPECT_EQ(image.RowText(0), QString(32, QLatin1Char('F')));
    EXPECT_EQ(image.RowText(1), QStringLiteral("01020304") + QString(24, QLatin1Char('F')));
    EXPECT_EQ(image.CellAt(2, 1), QStringLiteral("01"));
    EXPECT_EQ(image.CellAt(2, 5), QStringLiteral("FF"));
}

TEST(PutImageBytes, StaysInsideTheImageAndTheBuffer) {
    EepromImage image;
    image.PutImageBytes(QByteArray(64, '\x11'), 2040, 64);
    EXPECT_EQ(image.Cell(2047), QStringLiteral("11"));
    image.PutImageBytes(QByteArray(2, '\x22'), 0, 10);  // count longer than the buffer
    EXPECT_EQ(image.Cell(1), QStringLiteral("22"));
    EXPECT_EQ(image.Cell(2), QStringLiteral("FF"));
    image.PutImageBytes(QByteArray(4, '\x33'), -2, 4);
    EXPECT_EQ(image.Cell(0), QStringLiteral("33"));
    EXPECT_EQ(image.Cell(2), QStringLiteral("FF"));
}

TEST(GetImageBytes, TakesEachCellModulo256) {
    EepromImage image;
    image.SetCell(0, QStringLiteral("5A"));
    image.SetCell(1, QStringLiteral("zz"));   // not hexadecimal: -1, so FF
    image.SetCell(2, QString());              // empty: 0
    image.SetCell(3, QStringLiteral("123"));  // three digits: low byte
    const QByteArray bytes = image.GetImageBytes();
    EXPECT_EQ(static_cast<quint8>(bytes[0]), 0x5A);
    EXPECT_EQ(static_cast<quint8>(bytes[1]), 0xFF);
    EXPECT_EQ(static_cast<quint8>(bytes[2]), 0x00);
    EXPECT_EQ(static_cast<quint8>(bytes[3]), 0x23);
}

TEST(EraseImage, PutsFFEverywhereAndSignalsOnce) {
    EepromImage image;
    image.PutImageBytes(QByteArray(2048, '\0'), 0, 2048);
    image.SetCell(5, QStringLiteral("xx"));
    QSignalSpy changed(&image, &EepromImage::CellsChanged);
    image.EraseImage();
    EXPECT_EQ(image.GetImageBytes(), QByteArray(2048, '\xFF'));
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toInt(), 0);
    EXPECT_EQ(changed[0][1].toInt(), 2047);
}

TEST(SetRowPairs, FillsSixteenCellsAsTheyCome) {
    EepromImage image;
    image.SetRowPairs(0x7F, u"00112233445566778899AABBCCDDEEGG");
    EXPECT_EQ(image.Cell(0x7F0), QStringLiteral("00"));
    EXPECT_EQ(image.Cell(0x7FF), QStringLiteral("GG"));
    image.SetRowPairs(0, u"AB");  // short text leaves empty cells
    EXPECT_EQ(image.Cell(0), QStringLiteral("AB"));
    EXPECT_EQ(image.Cell(1), QString());
    image.SetRowPairs(128, u"00");  // beyond the image: nothing
    EXPECT_EQ(image.Cell(0x7F0), QStringLiteral("00"));
}

}  // namespace
}  // namespace velarix
