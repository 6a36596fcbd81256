#include <gtest/gtest.h>

#include "eeprom/eeprom_image.h"
#include "eeprom/interpreted_fields.h"
#include "shell/settings.h"

namespace velarix {
namespace {

struct FieldsTest : ::testing::Test {
    EepromImage image;
    Settings settings;
    InterpretedFields fields{image, settings};

    void Put(int address, const char* hex) {
        const QByteArray bytes = QByteArray::fromHex(hex);
        image.PutImageBytes(bytes, address, static_cast<int>(bytes.size()));
    }
    QString Hex(int address, int count) const {
        return QString::fromLatin1(image.GetImageBytes().mid(address, count).toHex().toUpper());
    }
    QString Shown(Field field) const {
        const ChoiceView view = fields.Choice(field);
        return fields.Entries(field).value(view.entry);
    }
};

TEST_F(FieldsTest, ACountryOfTheListShowsItsEntryAndAReadOnlyRawView) {
    Put(0x002, "455350");
    const ChoiceView view = fields.Choice(Field::Country);
    EXPECT_EQ(Shown(Field::Country), QStringLiteral("ESP"));
    EXPECT_EQ(view.raw, QStringLiteral("455350"));
    EXPECT_FALSE(view.rawEditable);
}

TEST_F(FieldsTest, AnUnknownCountryIsOtroAndItsRawViewWritesWithTheCheckWord) {
    Put(0x002, "585858");
    const ChoiceView view = fields.Choice(Field::Country);
    EXPECT_EQ(Shown(Field::Country), QStringLiteral("otro"));
    EXPECT_TRUE(view.rawEditable);
    EXPECT_EQ(fields.FilterRaw(Field::Country, "49x5z4"), QStringLiteral("4954"));
    EXPECT_EQ(fields.LeaveRaw(Field::Country, "4954"), QStringLiteral("004954"));
    EXPECT_EQ(Hex(0x002, 3), QStringLiteral("004954"));
    EXPECT_EQ(Hex(0x069, 2), QStringLiteral("E21D"));
}

TEST_F(FieldsTest, ChoosingAnEntryWritesItsBytesAndCheckWord) {
    const ChoiceView view = fields.ChooseEntry(Field::Country, 0, QString());
    EXPECT_EQ(view.raw, QStringLiteral("455350"));
    EXPECT_EQ(Hex(0x002, 3), QStringLiteral("455350"));
    EXPECT_EQ(Hex(0x069, 2), QStringLiteral("B946"));
    fields.ChooseEntry(Field::Provider, 5, QString());  // "000C"
    EXPECT_EQ(Hex(0x007, 2), QStringLiteral("000C"));
    EXPECT_EQ(Hex(0x06D, 2), QStringLiteral("F30C"));
    fields.ChooseEntry(Field::AudioSecondary, 1, QString());  // "eng"
    EXPECT_EQ(Hex(0x057, 3), QStringLiteral("656E67"));
    EXPECT_EQ(Hex(0x07B, 2), QString("%1%2")
                                 .arg(255 - (0x65 ^ 0x6E ^ 0x67), 2, 16)
                                 .arg(0x65 ^ 0x6E ^ 0x67, 2, 16)
                                 .toUpper());
}

TEST_F(FieldsTest, ItalianoForTheEpgWritesItsEightBytes) {
    const int italiano = static_cast<int>(fields.Entries(Field::Epg).indexOf("Italiano"));
    fields.ChooseEntry(Field::Epg, italiano, QString());
    EXPECT_EQ(Hex(0x0DE, 8), QStringLiteral("3B00000600000000"));
    EXPECT_EQ(Shown(Field::Epg), QStringLiteral("Italiano"));
}

TEST_F(FieldsTest, SectionNamesFollowTheDecoderModel) {
    Put(0x08E, "00800080000000000000000001A4");
    settings.model = 2;
    EXPECT_EQ(Shown(Field::Sections), QStringLiteral("0 y 2 (BCT14xx)"));
    settings.model = 0;
    EXPECT_EQ(Shown(Field::Sections), QStringLiteral("1 y 3 (BCT15xx)"));
    settings.model = -1;
    EXPECT_EQ(Shown(Field::Sections), QStringLiteral("1 y 3 (BCT15xx)"));
}

TEST_F(FieldsTest, SectionsAreCopiedAsTheyAreWritten) {
    fields.ChooseEntry(Field::Sections, 3, QString());  // "1 y 2 (BCT15xx)"
    EXPECT_EQ(Hex(0x08E, 14), QStringLiteral("00800080000000000000000002A7"));
    EXPECT_EQ(Hex(0x09C, 14), QStringLiteral("00800080000000000000000002A7"));
    fields.LeaveRaw(Field::Sections, "1234");
    EXPECT_EQ(Hex(0x09C, 14), QString(24, '0') + "1234");
}

TEST_F(FieldsTest, BrightnessPadsWithEights) {
    EXPECT_EQ(Shown(Field::Brightness), QStringLiteral("otro"));  // FF
    EXPECT_EQ(fields.LeaveRaw(Field::Brightness, "9A"), QStringLiteral("9A"));
    EXPECT_EQ(Hex(0x403, 1), QStringLiteral("9A"));
    EXPECT_EQ(fields.LeaveRaw(Field::Brightness, "1"), QStringLiteral("81"));
    EXPECT_EQ(Hex(0x403, 1), QStringLiteral("81"));
    EXPECT_EQ(Shown(Field::Brightness), QStringLiteral("Media Baja"));
    EXPECT_EQ(fields.FilterRaw(Field::Brightness, ""), QStringLiteral("83"));
    EXPECT_EQ(fields.FilterRaw(Field::Epg, "xyz"), QStringLiteral("000000000000"));
    EXPECT_EQ(fields.FilterRaw(Field::Diseqc, "123456"), QStringLiteral("1234"));
}

TEST_F(FieldsTest, NumberFields) {
    Put(0x009, "2A");
    EXPECT_EQ(fields.Number(Field::SoftwareVersion).value, QStringLiteral("42"));
    EXPECT_EQ(fields.Number(Field::SoftwareVersion).display, QStringLiteral("2A"));
    EXPECT_EQ(fields.FilterNumber(Field::SoftwareVersion, "256"), QStringLiteral("0"));
    EXPECT_EQ(fields.LeaveNumber(Field::SoftwareVersion, "7").display, QStringLiteral("07"));
    EXPECT_EQ(Hex(0x009, 1), QStringLiteral("07"));

    EXPECT_EQ(fields.Number(Field::LastChannel).value, QStringLiteral("0"));  // FFFF is above 2002
    EXPECT_EQ(fields.Number(Field::LastChannel).display, QStringLiteral("FFFF"));
    EXPECT_EQ(fields.LeaveNumber(Field::LastChannel, "1234").display, QStringLiteral("04D2"));
    EXPECT_EQ(Hex(0x065, 2), QStringLiteral("04D2"));
    EXPECT_EQ(Hex(0x08B, 2), QStringLiteral("29D6"));  // x = 04 xor D2 = D6
    EXPECT_EQ(fields.FilterNumber(Field::LastChannel, "2003"), QStringLiteral("0"));

    Put(0x7D0, "3334");
    EXPECT_EQ(fields.Number(Field::CountryCode).value, QStringLiteral("34"));
    EXPECT_EQ(fields.LeaveNumber(Field::CountryCode, "7").value, QStringLiteral("07"));
    EXPECT_EQ(Hex(0x7D0, 2), QStringLiteral("3037"));
    EXPECT_EQ(fields.Number(Field::SerialNumber).value,
              QStringLiteral("000000000000"));  // no digits
    fields.LeaveNumber(Field::SerialNumber, "12a3456789012");
    EXPECT_EQ(fields.Number(Field::SerialNumber).value, QStringLiteral("123456789012"));
}

TEST_F(FieldsTest, SatelliteFrequenciesOutsideTheBandBecome11970) {
    EXPECT_EQ(fields.LeaveSatelliteText(0, SatelliteField::Frequency, "8000"),
              QStringLiteral("11970"));
    EXPECT_EQ(Hex(0x00B + 0x1A, 2), QStringLiteral("2EC2"));
    EXPECT_EQ(fields.LeaveSatelliteText(1, SatelliteField::Lnb, "5150"), QStringLiteral("10600"));
    EXPECT_EQ(fields.LeaveSatelliteText(1, SatelliteField::Lnb, "9750"), QStringLiteral("9750"));
    EXPECT_EQ(Hex(0x030 + 0x23, 2), QStringLiteral("2616"));
    EXPECT_EQ(fields.Satellite(1, SatelliteField::Lnb), QStringLiteral("9750"));
}

TEST_F(FieldsTest, ASymbolRateChangeOfSatelliteTwoWritesOnlyItsByte) {
    const QByteArray before = image.GetImageBytes();
    fields.ChooseSatelliteEntry(1, SatelliteField::SymbolRate, 0);
    const QByteArray after = image.GetImageBytes();
    for (int a = 0; a < 2048; ++a) {
        if (a != 0x04C) {
            EXPECT_EQ(after[a], before[a]) << a;
        }
    }
    EXPECT_EQ(after[0x04C], '\0');
    settings.symbolRates[0] = 22000;
    EXPECT_EQ(fields.Satellite(1, SatelliteField::SymbolRate), QStringLiteral("22000"));
    Put(0x04C, "20");  // past the table
    EXPECT_EQ(fields.Satellite(1, SatelliteField::SymbolRate), QStringLiteral("27500"));
}

TEST_F(FieldsTest, SatelliteListsReadTheirByte) {
    Put(0x00B + 0x16, "000105");  // band Ku, antenna 2
    Put(0x00B + 0x1D, "070001");  // FEC past the list, V, On
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Band), QStringLiteral("Ku"));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Antenna), QStringLiteral("2"));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Fec), QStringLiteral("1/2"));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Polarity), QStringLiteral("V"));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Tone), QStringLiteral("On"));
    fields.ChooseSatelliteEntry(0, SatelliteField::Band, 1);
    EXPECT_EQ(Hex(0x00B + 0x16, 1), QStringLiteral("01"));
}

TEST_F(FieldsTest, SatelliteNames) {
    EXPECT_EQ(fields.LeaveSatelliteText(0, SatelliteField::Name, "hispasat"),
              QStringLiteral("HISPASAT"));
    EXPECT_EQ(Hex(0x00B, 21),
              QString::fromLatin1(QByteArray("HISPASAT").toHex().toUpper()) + QString(26, '0'));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Name), QStringLiteral("HISPASAT"));
    fields.LeaveSatelliteText(1, SatelliteField::Name, "");
    EXPECT_EQ(fields.Satellite(1, SatelliteField::Name), QStringLiteral("OTROS"));
    Put(0x00B, "00");
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Name), QStringLiteral("ASTRA"));
}

TEST_F(FieldsTest, ANameThatFillsItsWholeFieldReadsBackWhole) {
    const QString full = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUV");  // 22 characters
    EXPECT_EQ(fields.LeaveSatelliteText(1, SatelliteField::Name, full), full);
    EXPECT_EQ(fields.Satellite(1, SatelliteField::Name), full);
    EXPECT_EQ(fields.LeaveSatelliteText(0, SatelliteField::Name, full), full.left(21));
    EXPECT_EQ(fields.Satellite(0, SatelliteField::Name), full.left(21));
    EXPECT_EQ(Hex(0x020, 1), QStringLiteral("FF"));  // record 1 keeps to its 21 bytes
}

TEST_F(FieldsTest, KeysNameEveryField) {
    EXPECT_EQ(InterpretedFields::KeyOf(Field::Country), QStringLiteral("country"));
    EXPECT_EQ(InterpretedFields::KeyOf(Field::Diseqc), QStringLiteral("diseqc"));
    EXPECT_EQ(InterpretedFields::FieldNamed("serial_number"), Field::SerialNumber);
    EXPECT_EQ(InterpretedFields::SatelliteKeyOf(SatelliteField::Tone), QStringLiteral("tone"));
    EXPECT_EQ(InterpretedFields::KindOf(Field::LastChannel), FieldKind::Number);
    EXPECT_EQ(InterpretedFields::KindOf(Field::Epg), FieldKind::Choice);
}

}  // namespace
}  // namespace velarix
