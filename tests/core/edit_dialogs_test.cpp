// The number fields of the page and of the edit dialogs, and what the channel
// and transponder dialogs read from a row and write back to it.
#include <gtest/gtest.h>

#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/edit_dialogs.h"
#include "tuning_settings.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

TEST(NumberFields, TakeOnlyDigitsAndShowTheirTextForEmpty) {
    const FieldRule trsp = ChannelFieldRule(cc::kTrsp, 200);
    EXPECT_EQ(EditedText(trsp, "12", "12a"), QStringLiteral("12"));
    EXPECT_EQ(EditedText(trsp, "1", "1-2+3"), QStringLiteral("123"));
    EXPECT_EQ(EditedText(trsp, "5", ""), QStringLiteral("1"));  // cleared: "1" at once
    EXPECT_EQ(EditedText(trsp, "123", "1234"), std::nullopt);   // a fourth digit is refused
    EXPECT_EQ(EditedText(trsp, "", "x"), QStringLiteral("1"));
    const FieldRule vpid = ChannelFieldRule(cc::kVpid, 200);
    EXPECT_EQ(EditedText(vpid, "160", ""), QStringLiteral("65535"));
    EXPECT_EQ(EditedText(vpid, "", "70000"), QStringLiteral("70000"));
    EXPECT_EQ(EditedText(vpid, "70000", "700001"), std::nullopt);
    // A longer text the program put there may still be shortened.
    EXPECT_EQ(EditedText(vpid, "1234567", "123456"), QStringLiteral("123456"));

    // The tuner frequency takes one comma; every later one is removed.
    const FieldRule frec = TransponderFieldRule(tc::kFrec);
    EXPECT_EQ(EditedText(frec, "1612000", "1612000,5,"), QStringLiteral("1612000,5"));
    EXPECT_EQ(EditedText(frec, "1612000", "1612.000"), QStringLiteral("1612000"));
    EXPECT_EQ(EditedText(frec, "1", ""), QStringLiteral("1"));
    EXPECT_EQ(EditedText(frec, "12345678901", "123456789012"), std::nullopt);
    EXPECT_EQ(EditedText(TransponderFieldRule(tc::kCan), "3", ""), QStringLiteral("0"));
    EXPECT_EQ(EditedText(TransponderFieldRule(tc::kNet), "3", ""), QStringLiteral("1"));
}

TEST(NumberFields, AValueAboveTheLimitIsReplacedOnLeaving) {
    const FieldRule trsp = ChannelFieldRule(cc::kTrsp, 200);
    EXPECT_EQ(LeftText(trsp, TypedText(trsp, "250")), QStringLiteral("1"));  // 200 rows
    EXPECT_EQ(LeftText(trsp, TypedText(trsp, "199")), QStringLiteral("199"));
    EXPECT_EQ(LeftText(trsp, TypedText(trsp, "200")), QStringLiteral("1"));
    EXPECT_EQ(LeftText(ChannelFieldRule(cc::kTrsp, 100), "99"), QStringLiteral("99"));
    const FieldRule vpid = ChannelFieldRule(cc::kVpid, 200);
    EXPECT_EQ(LeftText(vpid, TypedText(vpid, "70000")), QStringLiteral("65535"));
    EXPECT_EQ(LeftText(vpid, TypedText(vpid, "65535")), QStringLiteral("65535"));
    EXPECT_EQ(LeftText(vpid, "0"), QStringLiteral("0"));
    EXPECT_EQ(TypedText(vpid, ""), QStringLiteral("65535"));
    EXPECT_EQ(TypedText(vpid, "1234567"), QStringLiteral("12345"));  // typing stops at five
    EXPECT_EQ(TypedText(vpid, "4a0b"), QStringLiteral("40"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kTrsp), "70000"), QStringLiteral("65535"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kTrsp), "1000"), QStringLiteral("1000"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kNet), "65536"), QStringLiteral("65535"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kCan), "300"), QStringLiteral("255"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kCan), "255"), QStringLiteral("255"));
    EXPECT_EQ(LeftText(TransponderFieldRule(tc::kFrec), "99999999999"),
              QStringLiteral("99999999999"));
}

TEST(NumberFields, ThePositionFieldOfMoverA) {
    const FieldRule small = PositionFieldRule(1000, 100);
    EXPECT_EQ(small.maxLength, 3);
    EXPECT_EQ(PositionFieldRule(2003, 100).maxLength, 4);
    EXPECT_EQ(EditedText(small, "1", ""), QStringLiteral("1"));
    EXPECT_EQ(EditedText(small, "12", "12x"), QStringLiteral("12"));
    EXPECT_EQ(EditedText(small, "999", "9999"), std::nullopt);
    // 100 on a 100-row transponder grid is no record row: "1" on leaving.
    EXPECT_EQ(LeftText(small, "100"), QStringLiteral("1"));
    EXPECT_EQ(LeftText(small, "99"), QStringLiteral("99"));
    EXPECT_EQ(LeftText(PositionFieldRule(1000, 1000), "100"), QStringLiteral("100"));
    EXPECT_EQ(LeftText(PositionFieldRule(2003, 2003), "2003"), QStringLiteral("1"));
    EXPECT_EQ(LeftText(PositionFieldRule(2003, 2003), "2002"), QStringLiteral("2002"));
}

TEST(NumberFields, TheTransponderFrequencyStaysWithinTheKuBand) {
    // LNB-low 9750 with 22 kHz off: 1000000 kHz gives 10.75 GHz, raised to 11.7 GHz.
    EXPECT_EQ(ClampedTunerFrequency("1000000", 9750), QStringLiteral("1950000"));
    // LNB-high 10600 with 22 kHz on: 2500000 kHz gives 13.1 GHz, lowered to 12.7 GHz.
    EXPECT_EQ(ClampedTunerFrequency("2500000", 10600), QStringLiteral("2100000"));
    EXPECT_EQ(ClampedTunerFrequency("1612000,5", 9750), QStringLiteral("1950000"));
    EXPECT_EQ(ClampedTunerFrequency("2000000,5", 9750), QStringLiteral("2000000,5"));
    EXPECT_EQ(ClampedTunerFrequency("2950000", 9750), QStringLiteral("2950000"));
    EXPECT_EQ(ClampedTunerFrequency("2950001", 9750), QStringLiteral("2950000"));
    EXPECT_EQ(ClampedTunerFrequency(",", 9750), QStringLiteral("1950000"));
    EXPECT_EQ(TransponderFrequencyText("1950000", 9750), QStringLiteral("11700000"));
    EXPECT_EQ(TransponderFrequencyText("2000000,5", 9750), QStringLiteral("11750000,5"));
}

struct DialogsTest : ::testing::Test {
    Settings settings = test::TuningSettings();
    ChannelTables tables{settings};

    void SetUp() override {
        for (int r = 1; r < tables.ChannelRows(); ++r) tables.EmptyChannelRow(r);
        for (int r = 1; r < tables.TransponderRows(); ++r) tables.EmptyTransponderRow(r);
        TableRows& t = tables.Transponders();
        const QStringList row2{"2",     "1612000,5", "1001", "318", "8/9",    "H",
                               "22000", "On",        "11",   "C",   "Hotbird"};
        for (int c = 0; c < 11; ++c) t.SetCell(2, c, row2[c]);
        Channel(1, "Uno", "2", "C4");
        Channel(2, "Dos", "1", "04");
        Channel(3, "Tres", "02", "17");
        Channel(4, "Cuatro", "0", "00");
    }
    void Channel(int row, const char* name, const char* trsp, const char* sta) {
        TableRows& c = tables.Channels();
        c.SetCell(row, cc::kName, QString::fromLatin1(name));
        c.SetCell(row, cc::kTrsp, QString::fromLatin1(trsp));
        c.SetCell(row, cc::kSid, QString::number(row * 10));
        c.SetCell(row, cc::kVpid, QStringLiteral("160"));
        c.SetCell(row, cc::kApid, QStringLiteral("80"));
        c.SetCell(row, cc::kSta, QString::fromLatin1(sta));
        c.SetCell(row, cc::kSat, QStringLiteral("Hotbird"));
        tables.RecolorChannelRow(row);
    }
};

TEST_F(DialogsTest, TheChannelDialogShowsTheRowAndWritesItBack) {
    const ChannelDialogValues values = ChannelDialogOf(tables, 1);
    EXPECT_EQ(values.fields[0], QStringLiteral("Uno"));
    EXPECT_EQ(values.fields[1], QStringLiteral("2"));
    EXPECT_EQ(values.fields[2], QStringLiteral("10"));
    EXPECT_TRUE(values.status.active);
    EXPECT_FALSE(values.status.parental);
    EXPECT_EQ(values.status.encryption, 6);  // C4: PowerVu, Activo
    // Channels on the same transponder by number: "02" is 2 as well.
    const auto list = ChannelsSharingTransponder(tables, 1);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].cells[0], QStringLiteral("1"));
    EXPECT_EQ(list[1].cells[1], QStringLiteral("Tres"));
    EXPECT_EQ(list[1].colour, 0xF5E2AFu);
    EXPECT_EQ(DialogTransponderOf(tables, 1),
              (DialogTransponder{"12212000,5", "H", "Hotbird"}));  // LNB-high: 22 kHz on
    EXPECT_EQ(DialogTransponderOf(tables, 4), DialogTransponder{});

    ChannelDialogValues changed = values;
    changed.fields = {"Uno HD", "3", "11", "65535", "65535", "0", "0", "0"};
    changed.status = {.parental = true,
                      .favourite = false,
                      .active = true,
                      .radio = true,
                      .mono = true,
                      .encryption = 7};
    EXPECT_EQ(StatusText(changed.status), QStringLiteral("FD"));
    ApplyChannelDialog(tables, 1, changed);
    const TableRows& c = tables.Channels();
    const QStringList row{"1", "Uno HD", "3", "11", "65535",  "65535",
                          "0", "0",      "0", "FD", "Hotbird"};
    for (int col = 0; col < 11; ++col) EXPECT_EQ(c.Cell(1, col), row[col]) << col;
    EXPECT_EQ(c.Colour(1), 0xBFF5C0u);
    EXPECT_EQ(StatusText({}), QStringLiteral("00"));
    EXPECT_EQ(StatusText({.favourite = true, .encryption = 1}), QStringLiteral("22"));
}

TEST_F(DialogsTest, TheTransponderDialogWritesEveryFieldAndTheBand) {
    const TransponderDialogValues values = TransponderDialogOf(tables, 2);
    EXPECT_EQ(values, (TransponderDialogValues{"1612000,5", "1001", "318", "11", "8/9", "H",
                                               "22000", "On", "C", 1}));
    EXPECT_EQ(DialogSatellites(tables), (QStringList{"Astra", "Hotbird", "Hispasat", "Sirius"}));
    EXPECT_EQ(DialogSymbolRates(tables).size(), 15);  // entry 11 is empty
    EXPECT_EQ(DialogSymbolRates(tables)[11], QStringLiteral("4340"));
    // The list holds channels whose TRSP text is "2"; "02" is not.
    const auto list = ChannelsOfTransponder(tables, 2);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].cells[1], QStringLiteral("Uno"));
    // A transponder without channels lists one empty row.
    const auto none = ChannelsOfTransponder(tables, 7);
    ASSERT_EQ(none.size(), 1u);
    EXPECT_EQ(none[0], TableRow{});

    TransponderDialogValues changed{"1950000", "7", "8", "9", "3/4", "V", "27500", "Off", "Ku", 2};
    EXPECT_EQ(ApplyTransponderDialog(tables, 2, changed), (std::vector<int>{1}));
    const TableRows& t = tables.Transponders();
    const QStringList row{"2",     "1950000", "7", "8",  "3/4",     "V",
                          "27500", "Off",     "9", "Ku", "Hispasat"};
    for (int col = 0; col < 11; ++col) EXPECT_EQ(t.Cell(2, col), row[col]) << col;
    EXPECT_EQ(tables.Channels().Cell(1, cc::kSat), QStringLiteral("Hispasat"));
    EXPECT_EQ(tables.Channels().Cell(3, cc::kSat), QStringLiteral("Hotbird"));  // "02"

    // The same satellite again: no channel changes.
    EXPECT_TRUE(ApplyTransponderDialog(tables, 2, changed).empty());
    // No satellite chosen: the row keeps its own.
    changed.satellite = -1;
    EXPECT_TRUE(ApplyTransponderDialog(tables, 2, changed).empty());
    EXPECT_EQ(t.Cell(2, tc::kSat), QStringLiteral("Hispasat"));
}

}  // namespace
}  // namespace velarix
