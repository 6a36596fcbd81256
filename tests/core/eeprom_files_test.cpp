#include <gtest/gtest.h>

#include "eeprom/eeprom_files.h"
#include "eeprom/eeprom_image.h"
#include "shell/message_table.h"

namespace velarix {
namespace {

QByteArray Pattern() {
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>((i * 37) ^ (i >> 7));
    return bytes;
}

EepromImage& Filled(EepromImage& image) {
    image.PutImageBytes(Pattern(), 0, 2048);
    return image;
}

QString Refused(const QString& second) {
    return Msg(8) + "\n\r" + second;
}

TEST(EepromFiles, CommandTextIsTheWriteCommandOfEachRow) {
    EepromImage image;
    const QByteArray file = WriteEepromFile(image, EepromFormat::CommandText);
    const QStringList lines = TextLines(file);
    ASSERT_EQ(lines.size(), 128);
    EXPECT_EQ(lines[0], "%EE=00010" + QString(32, 'F') + "F3");
    EXPECT_TRUE(lines[127].startsWith("%EE=7F010"));
    EXPECT_EQ(file.count("\r\n"), 127);  // the last line has no end
    EXPECT_FALSE(file.endsWith('\n'));
    EXPECT_EQ(file.size(), 128 * 43 + 127 * 2);
}

TEST(EepromFiles, EveryFormatRoundTripsTheWholeImage) {
    for (auto format : {EepromFormat::CommandText, EepromFormat::PlainText, EepromFormat::Raw}) {
        EepromImage written;
        EepromImage read;
        const QByteArray file = WriteEepromFile(Filled(written), format);
        EXPECT_EQ(ReadEepromFile(read, file, format), std::nullopt) << int(format);
        EXPECT_EQ(read.GetImageBytes(), Pattern()) << int(format);
    }
}

TEST(EepromFiles, PlainTextEndsEveryLine) {
    EepromImage image;
    const QByteArray file = WriteEepromFile(Filled(image), EepromFormat::PlainText);
    EXPECT_EQ(file.size(), 128 * 34);
    EXPECT_TRUE(file.endsWith("\r\n"));
}

TEST(EepromFiles, ACommandLineOfTheWrongLengthIsRefusedByNumber) {
    EepromImage image;
    QStringList lines = TextLines(WriteEepromFile(image, EepromFormat::CommandText));
    lines[4].chop(1);  // 42 characters
    Filled(image);
    EXPECT_EQ(ReadEepromFile(image, lines.join("\r\n").toLatin1(), EepromFormat::CommandText),
              Refused(QStringLiteral("La longitud de la línea 5 es incorrecta.")));
    EXPECT_EQ(image.GetImageBytes(), Pattern());  // nothing changed
}

TEST(EepromFiles, ACommandLineWithAnotherCommandIsRefused) {
    EepromImage image;
    QStringList lines = TextLines(WriteEepromFile(image, EepromFormat::CommandText));
    lines[2].replace(0, 4, "%EE?");
    EXPECT_EQ(ReadEepromFile(image, lines.join("\r\n").toLatin1(), EepromFormat::CommandText),
              Refused(QStringLiteral("El comando de la línea 3 es incorrecto")));
    lines[2] = TextLines(WriteEepromFile(image, EepromFormat::CommandText))[2];
    lines[9].replace(6, 3, "020");
    EXPECT_EQ(ReadEepromFile(image, lines.join("\r\n").toLatin1(), EepromFormat::CommandText),
              Refused(QStringLiteral("El comando de la línea 10 es incorrecto")));
}

TEST(EepromFiles, LowerCaseOrOtherDigitsAreRefusedAsInvalidHexadecimal) {
    EepromImage image;
    const QStringList clean = TextLines(WriteEepromFile(image, EepromFormat::CommandText));
    QStringList lines = clean;
    lines[6].replace(20, 2, "ab");
    EXPECT_EQ(ReadEepromFile(image, lines.join("\n").toLatin1(), EepromFormat::CommandText),
              Refused(QStringLiteral("Valor hexadecimal inválido en la línea 7")));
}

TEST(EepromFiles, ARowFieldOutsideTheImageIsRefusedAndChangesNothing) {
    for (const char* row : {"80", "G1", "FF"}) {
        EepromImage image;
        Filled(image);
        QString line = TextLines(WriteEepromFile(image, EepromFormat::CommandText))[0];
        line.replace(4, 2, QString::fromLatin1(row));
        const QByteArray file = "%EE=01010" + QByteArray(32, '0') + "00\r\n" + line.toLatin1();
        EXPECT_EQ(ReadEepromFile(image, file, EepromFormat::CommandText),
                  Refused(QStringLiteral("Valor hexadecimal inválido en la línea 2")))
            << row;
        EXPECT_EQ(image.GetImageBytes(), Pattern()) << row;
    }
}

TEST(EepromFiles, ASingleCommandLineChangesOnlyItsRowWhateverItsChecksum) {
    EepromImage image;
    Filled(image);
    const QByteArray file = "%EE=2A010" + QByteArray(32, 'A') + "ZZ";
    EXPECT_EQ(ReadEepromFile(image, file, EepromFormat::CommandText), std::nullopt);
    QByteArray expected = Pattern();
    expected.replace(0x2A0, 16, QByteArray(16, '\xAA'));
    EXPECT_EQ(image.GetImageBytes(), expected);
}

TEST(EepromFiles, PlainTextTakesBadPairsAsFFAndStopsAtAShortLine) {
    EepromImage image;
    QStringList lines = TextLines(WriteEepromFile(image, EepromFormat::PlainText));
    for (QString& line : lines) line = QString(32, '1');
    lines[0].replace(0, 2, "G0");
    lines[3] = "12";  // short: reading stops here silently
    Filled(image);
    EXPECT_EQ(ReadEepromFile(image, lines.join("\r\n").toLatin1(), EepromFormat::PlainText),
              std::nullopt);
    EXPECT_EQ(image.Cell(0), QStringLiteral("FF"));
    EXPECT_EQ(image.Cell(1), QStringLiteral("11"));
    EXPECT_EQ(image.Cell(0x2F), QStringLiteral("11"));
    EXPECT_EQ(image.GetImageBytes().mid(0x30), Pattern().mid(0x30));
}

TEST(EepromFiles, ACommandTextFileReadAsPlainTextIsRefused) {
    EepromImage image;
    const QByteArray file = WriteEepromFile(image, EepromFormat::CommandText);
    Filled(image);
    EXPECT_EQ(ReadEepromFile(image, file, EepromFormat::PlainText), Msg(8));
    EXPECT_EQ(ReadEepromFile(image, "1234\r\n", EepromFormat::PlainText), Msg(8));
    EXPECT_EQ(ReadEepromFile(image, "", EepromFormat::PlainText), Msg(8));
    EXPECT_EQ(image.GetImageBytes(), Pattern());
}

TEST(EepromFiles, RawFilesMustBeExactly2048Bytes) {
    EepromImage image;
    Filled(image);
    for (int size : {0, 2047, 2049}) {
        EXPECT_EQ(ReadEepromFile(image, QByteArray(size, '\0'), EepromFormat::Raw),
                  Refused(QStringLiteral("La longitud del fichero es incorrecto.")));
    }
    EXPECT_EQ(image.GetImageBytes(), Pattern());
}

TEST(EepromFiles, TextWritersCopyCellsAsTheyAre) {
    EepromImage image;
    image.SetCell(0x11, QStringLiteral("5"));
    const QStringList lines = TextLines(WriteEepromFile(image, EepromFormat::CommandText));
    EXPECT_EQ(lines[1].size(), 42);  // which the reader then refuses
    EXPECT_EQ(WriteEepromFile(image, EepromFormat::Raw)[0x11], '\x05');
}

TEST(EepromFiles, FormatNames) {
    EXPECT_EQ(EepromFormatNamed("velarix"), EepromFormat::CommandText);
    EXPECT_EQ(EepromFormatNamed("zefiro9"), EepromFormat::PlainText);
    EXPECT_EQ(EepromFormatNamed("raw"), EepromFormat::Raw);
    EXPECT_EQ(EepromFormatNamed("RAW"), std::nullopt);
}

}  // namespace
}  // namespace velarix
