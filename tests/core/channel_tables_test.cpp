// Channel and transponder records read into rows of texts and written back.
// Records are written out by hand here, byte by byte.
#include <gtest/gtest.h>

#include "recording_frame.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/text_forms.h"
#include "tuning_settings.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

QByteArray Bytes(std::initializer_list<int> values) {
    QByteArray bytes;
    for (int v : values) bytes.append(static_cast<char>(v));
    return bytes;
}

// A channel record: name bytes, status, transponder, then six 16-bit values.
QByteArray Channel(const QByteArray& name, int status, int transponder, std::array<int, 6> values) {
    QByteArray record = name.left(16);
    record.append(16 - record.size(), '\0');
    record.append(static_cast<char>(status)).append(static_cast<char>(transponder));
    for (int v : values) record.append(static_cast<char>(v >> 8)).append(static_cast<char>(v));
    return record;
}

QByteArray Transponder(std::uint32_t hz, int tsid, int nid, int channels, int sr, int fec,
                       int flags) {
    return Bytes({int(hz >> 24), int(hz >> 16 & 0xFF), int(hz >> 8 & 0xFF), int(hz & 0xFF),
                  tsid >> 8, tsid & 0xFF, nid >> 8, nid & 0xFF, channels, sr, fec, flags});
}

struct ChannelTablesTest : ::testing::Test {
    Settings settings = test::TuningSettings();
    ChannelTables tables{settings};
    test::RecordingFrame frame;

    // A RAM table of the given records.
    void LoadRam(const QByteArray& records) {
        tables.LoadTable(records, TableKind::RamTable, frame);
    }
    // Loads transponders by themselves from `records` at offset 0.
    void ReadTransponders(const QByteArray& records) {
        tables.SetTableImage(records);
        tables.ParseTransponderRecords(records, 0, false);
    }
    QString ChannelCell(int row, int column) { return tables.Channels().Cell(row, column); }
    QString TransponderCell(int row, int column) { return tables.Transponders().Cell(row, column); }
};

TEST_F(ChannelTablesTest, ChannelFieldsAsTexts) {
    LoadRam(Channel("Documentales HD1", 0x86, 3, {1234, 65535, 513, 0, 1, 256}) +
            Channel("Ni\xF1os & Co", 0x04, 0, {7, 160, 161, 1701, 1801, 160}));
    EXPECT_EQ(ChannelCell(1, cc::kName), QStringLiteral("Documentales HD1"));  // no end byte
    EXPECT_EQ(ChannelCell(1, cc::kSta), QStringLiteral("86"));
    EXPECT_EQ(ChannelCell(1, cc::kTrsp), QStringLiteral("3"));
    EXPECT_EQ(ChannelCell(1, cc::kSid), QStringLiteral("1234"));
    EXPECT_EQ(ChannelCell(1, cc::kVpid), QStringLiteral("65535"));
    EXPECT_EQ(ChannelCell(1, cc::kApid), QStringLiteral("513"));
    EXPECT_EQ(ChannelCell(1, cc::kPcr), QStringLiteral("256"));
    EXPECT_EQ(ChannelCell(2, cc::kName), QStringLiteral("Niños & Co"));
    EXPECT_EQ(ChannelCell(2, cc::kAecm), QStringLiteral("1801"));
    EXPECT_EQ(ChannelCell(0, cc::kName), QStringLiteral("NOMBRE"));
    EXPECT_EQ(ChannelCell(0, cc::kSat), QStringLiteral("SAT"));
    EXPECT_EQ(ChannelCell(7, 0), QStringLiteral("7"));
    // In a RAM table every SAT cell of a record read is empty.
    EXPECT_TRUE(tables.RamMode());
    EXPECT_EQ(ChannelCell(1, cc::kSat), QString());
    EXPECT_EQ(ChannelCell(2, cc::kSat), QString());
    // Rows past the end of the table: empty rows with the first satellite.
    EXPECT_EQ(ChannelCell(3, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(ChannelCell(3, cc::kSat), QStringLiteral("Astra"));
    EXPECT_EQ(ChannelCell(999, cc::kSta), QStringLiteral("0"));
}

TEST_F(ChannelTablesTest, FourRowColours) {
    LoadRam(Channel("Radio", 4, 1, {1, 65535, 256, 0, 0, 0}) +
            Channel("Data", 4, 1, {2, 65535, 65535, 0, 0, 0}) +
            Channel("Untuned", 4, 1, {3, 0, 0, 0, 0, 0}) +
            Channel("TV", 4, 1, {4, 100, 101, 0, 0, 100}));
    auto rgb = [](int r, int g, int b) { return RowColour((r << 16) | (g << 8) | b); };
    EXPECT_EQ(tables.Channels().Colour(1), rgb(191, 208, 245));
    EXPECT_EQ(tables.Channels().Colour(2), rgb(191, 245, 192));
    EXPECT_EQ(tables.Channels().Colour(3), rgb(255, 255, 255));
    EXPECT_EQ(tables.Channels().Colour(4), rgb(245, 226, 175));
    EXPECT_EQ(tables.Channels().Colour(5), rgb(255, 255, 255));  // an empty row
    tables.Channels().SetCell(4, cc::kVpid, QStringLiteral("65535"));
    tables.Channels().SetCell(4, cc::kApid, QStringLiteral("65535"));
    tables.RecolorChannelRows();
    EXPECT_EQ(tables.Channels().Colour(4), rgb(191, 245, 192));
}

TEST_F(ChannelTablesTest, TwoThousandChannelsGive2003RowsAnd2002Records) {
    settings.channelCount = 1;
    ApplyChannelCount(settings);
    tables.ApplyChannelCount();
    ASSERT_EQ(tables.ChannelRows(), 2003);
    QByteArray ram;
    for (int i = 0; i < 2002; ++i)
        ram += Channel(QByteArray("C") + QByteArray::number(i), 4, 1, {i + 1, 100, 101, 0, 0, 0});
    ram += Channel("Beyond", 4, 1, {9999, 1, 1, 0, 0, 0});
    LoadRam(ram);
    EXPECT_EQ(ChannelCell(2002, cc::kName), QStringLiteral("C2001"));
    EXPECT_EQ(ChannelCell(2002, 0), QStringLiteral("2002"));
    QByteArray buffer(60060 + 30, '\x77');
    ASSERT_FALSE(tables.BuildChannelRecords(buffer, 0));
    EXPECT_EQ(buffer.left(60060), ram.left(60060));
    EXPECT_EQ(buffer.mid(60060), QByteArray(30, '\x77'));
}

TEST_F(ChannelTablesTest, ChannelRecordsWrittenBack) {
    LoadRam(Channel("Seventeen", 0x86, 3, {1234, 65535, 513, 0, 1, 256}));
    tables.Channels().SetCell(1, cc::kName, QStringLiteral("Seventeen letters"));
    QByteArray buffer(30 * 999, '\x55');
    ASSERT_FALSE(tables.BuildChannelRecords(buffer, 0));
    // A name of more than 16 letters is written as its first 16, no end byte.
    EXPECT_EQ(buffer.left(30), Bytes({'S',  'e',  'v',  'e',  'n',  't',  'e',  'e',  'n',  ' ',
                                      'l',  'e',  't',  't',  'e',  'r',  0x86, 0x03, 0x04, 0xD2,
                                      0xFF, 0xFF, 0x02, 0x01, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00}));
    tables.Channels().SetCell(1, cc::kName, QStringLiteral("Niños"));
    tables.Channels().SetCell(1, cc::kSta, QStringLiteral("zz"));     // not hexadecimal: FFh
    tables.Channels().SetCell(1, cc::kTrsp, QStringLiteral("300"));   // low 8 bits
    tables.Channels().SetCell(1, cc::kSid, QStringLiteral("70000"));  // low 16 bits
    ASSERT_FALSE(tables.BuildChannelRecords(buffer, 0));
    EXPECT_EQ(buffer.left(22), Bytes({'N', 'i', 0xF1, 'o', 's',  0,    0,    0,    0,    0,   0, 0,
                                      0,   0,   0,    0,   0xFF, 0x2C, 0x11, 0x70, 0xFF, 0xFF}));
    // Free rows go out as zero records.
    EXPECT_EQ(buffer.mid(30, 30), QByteArray(30, '\0'));
    // A record that would pass the end of the buffer is not written.
    QByteArray shortBuffer(45, '\x55');
    ASSERT_FALSE(tables.BuildChannelRecords(shortBuffer, 0));
    EXPECT_EQ(shortBuffer.mid(30), QByteArray(15, '\x55'));
}

TEST_F(ChannelTablesTest, ACellThatIsNotANumberStopsTheBuild) {
    LoadRam(Channel("A", 4, 1, {1, 2, 3, 4, 5, 6}));
    tables.Channels().SetCell(1, cc::kVpid, QStringLiteral("12a"));
    QByteArray buffer(30 * 999, '\x55');
    EXPECT_EQ(tables.BuildChannelRecords(buffer, 0),
              QStringLiteral("'12a' is not a valid integer value"));
    EXPECT_EQ(buffer, QByteArray(30 * 999, '\x55'));  // nothing written
    tables.Channels().SetCell(1, cc::kVpid, QString());
    EXPECT_EQ(tables.BuildChannelRecords(buffer, 0),
              QStringLiteral("'' is not a valid integer value"));

    ReadTransponders(Transponder(1612000000, 1, 1, 0, 0, 0, 0));
    tables.Transponders().SetCell(1, tc::kFrec, QStringLiteral("1612000.5"));
    QByteArray tps(12 * 99, '\0');
    EXPECT_EQ(tables.BuildTransponderRecords(tps, 0),
              QStringLiteral("'1612000.5' is not a valid floating point value"));
    tables.Transponders().SetCell(1, tc::kFrec, QStringLiteral("1612000"));
    tables.Transponders().SetCell(1, tc::kCan, QStringLiteral("x"));
    EXPECT_EQ(tables.BuildTransponderRecords(tps, 0),
              QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(tps, QByteArray(12 * 99, '\0'));
}

TEST_F(ChannelTablesTest, TransponderFieldsAsTexts) {
    ReadTransponders(Transponder(1612000000, 1000, 1, 11, 0, 2, 0x00) +
                     Transponder(1612000500, 1001, 1, 12, 0x1A, 7, 0x03) +
                     Transponder(1588000000, 1002, 318, 3, 11, 5, 0x2D) +
                     Transponder(994000000, 1003, 302, 4, 1, 0, 0xC8));
    EXPECT_EQ(TransponderCell(1, tc::kFrec), QStringLiteral("1612000"));
    EXPECT_EQ(TransponderCell(1, tc::kTrsp), QStringLiteral("1000"));
    EXPECT_EQ(TransponderCell(1, tc::kCan), QStringLiteral("11"));
    EXPECT_EQ(TransponderCell(1, tc::kSr), QStringLiteral("27500"));
    EXPECT_EQ(TransponderCell(1, tc::kFec), QStringLiteral("3/4"));
    EXPECT_EQ(TransponderCell(1, tc::kPol), QStringLiteral("V"));
    EXPECT_EQ(TransponderCell(1, tc::kTone), QStringLiteral("Off"));
    EXPECT_EQ(TransponderCell(1, tc::kBand), QStringLiteral("Ku"));
    EXPECT_EQ(TransponderCell(1, tc::kSat), QStringLiteral("Astra"));
    EXPECT_EQ(TransponderCell(2, tc::kFrec), QStringLiteral("1612000,5"));
    EXPECT_EQ(TransponderCell(2, tc::kSr), QStringLiteral("1A"));  // index 16 or more
    EXPECT_EQ(TransponderCell(2, tc::kFec), QStringLiteral("07"));
    EXPECT_EQ(TransponderCell(2, tc::kPol), QStringLiteral("H"));
    EXPECT_EQ(TransponderCell(2, tc::kTone), QStringLiteral("On"));
    EXPECT_EQ(TransponderCell(3, tc::kSr), QStringLiteral("0B"));  // an empty table entry
    EXPECT_EQ(TransponderCell(3, tc::kFec), QStringLiteral("8/9"));
    EXPECT_EQ(TransponderCell(3, tc::kBand), QStringLiteral("C"));
    EXPECT_EQ(TransponderCell(3, tc::kSat), QStringLiteral("Astra"));    // index 5: satellite 1
    EXPECT_EQ(TransponderCell(4, tc::kSat), QStringLiteral("Hotbird"));  // bits 6, 7 ignored
    EXPECT_EQ(TransponderCell(4, tc::kSr), QStringLiteral("22000"));
    // Past the end: empty transponder rows.
    EXPECT_EQ(TransponderCell(5, tc::kFrec), QStringLiteral("0"));
    EXPECT_EQ(TransponderCell(5, tc::kFec), QStringLiteral("1/2"));
    EXPECT_EQ(TransponderCell(5, tc::kSr), QStringLiteral("27500"));
    EXPECT_EQ(TransponderCell(5, tc::kTone), QStringLiteral("Off"));
    EXPECT_EQ(TransponderCell(5, tc::kBand), QStringLiteral("Ku"));
    EXPECT_EQ(TransponderCell(5, tc::kPol), QStringLiteral("V"));
    EXPECT_EQ(TransponderCell(5, tc::kSat), QStringLiteral("Astra"));
}

TEST_F(ChannelTablesTest, TransponderRecordsWrittenBack) {
    const QByteArray records = Transponder(1612000000, 1000, 1, 11, 0, 2, 0x00) +
                               Transponder(1612000500, 1001, 1, 12, 0x1A, 7, 0x03) +
                               Transponder(1588000000, 1002, 318, 3, 11, 5, 0x2D) +
                               Transponder(994000000, 1003, 302, 4, 1, 0, 0xC8);
    ReadTransponders(records);
    QByteArray buffer = records + QByteArray(12 * 95, '\0');
    ASSERT_FALSE(tables.BuildTransponderRecords(buffer, 0));
    EXPECT_EQ(buffer.left(24), records.left(24));
    // Satellite index 5 is written as 0; bits 6 and 7 are written 0.
    EXPECT_EQ(buffer.mid(24, 12), Transponder(1588000000, 1002, 318, 3, 11, 5, 0x05));
    EXPECT_EQ(buffer.mid(36, 12), Transponder(994000000, 1003, 302, 4, 1, 0, 0x08));
    tables.Transponders().SetCell(1, tc::kFrec, QStringLiteral("1612000,5"));
    tables.Transponders().SetCell(1, tc::kSr, QStringLiteral("29900"));
    tables.Transponders().SetCell(1, tc::kFec, QStringLiteral("5/6"));
    tables.Transponders().SetCell(1, tc::kSat, QStringLiteral("Hispasat"));
    ASSERT_FALSE(tables.BuildTransponderRecords(buffer, 0));
    EXPECT_EQ(buffer.left(12),
              Bytes({0x60, 0x15, 0x2C, 0xF4, 0x03, 0xE8, 0x00, 0x01, 11, 2, 3, 0x10}));
}

// A rate shown as two hexadecimal digits names its index; it goes back with
// its row, whatever byte the buffer holds where the row lands.
TEST_F(ChannelTablesTest, AnIndexWithoutATableEntryFollowsItsRow) {
    const QByteArray records = Transponder(1612000000, 1000, 1, 11, 0x1A, 2, 0x00) +
                               Transponder(1588000000, 1001, 1, 12, 0x0B, 2, 0x00) +
                               Transponder(1600000000, 1002, 1, 12, 0x03, 2, 0x00);
    ReadTransponders(records);
    // Rows 1 and 2 change places, as a move or a paste leaves them.
    const TableRow first = tables.Transponders().Row(1);
    tables.Transponders().SetRowContents(1, tables.Transponders().Row(2));
    tables.Transponders().SetRowContents(2, first);
    // A rate typed that no table entry has leaves the byte as it was.
    tables.Transponders().SetCell(3, tc::kSr, QStringLiteral("12345"));
    QByteArray buffer = records + QByteArray(12 * 96, '\0');
    ASSERT_FALSE(tables.BuildTransponderRecords(buffer, 0));
    EXPECT_EQ(static_cast<unsigned char>(buffer[9]), 0x0B);
    EXPECT_EQ(static_cast<unsigned char>(buffer[12 + 9]), 0x1A);
    EXPECT_EQ(static_cast<unsigned char>(buffer[24 + 9]), 0x03);
}

TEST_F(ChannelTablesTest, FreeRows) {
    LoadRam(Channel("A", 4, 1, {1, 2, 3, 0, 0, 0}) + Channel("B", 4, 0, {0, 0, 3, 0, 0, 0}) +
            Channel("C", 4, 2, {1, 2, 3, 0, 0, 0}));
    EXPECT_FALSE(tables.IsFreeChannelRow(1));
    EXPECT_TRUE(tables.IsFreeChannelRow(2));  // TRSP, SID and VPID "0"; the rest does not count
    EXPECT_EQ(tables.FirstFreeChannelRow(), 2);
    tables.Channels().SetCell(2, cc::kSid, QString());  // "0", "", "0": neither all empty nor all 0
    EXPECT_FALSE(tables.IsFreeChannelRow(2));
    EXPECT_EQ(tables.FirstFreeChannelRow(), 4);
    for (int r = 1; r < tables.ChannelRows(); ++r) tables.Channels().SetCell(r, cc::kTrsp, "1");
    EXPECT_EQ(tables.FirstFreeChannelRow(), 1000);  // none free: the row count

    ReadTransponders(Transponder(1612000000, 1000, 1, 11, 0, 2, 0));
    EXPECT_EQ(tables.FirstFreeTransponderRow(), 2);
    tables.ClearTables();
    EXPECT_TRUE(tables.IsFreeTransponderRow(1));  // all empty
    EXPECT_EQ(TransponderCell(1, tc::kSr), QString());
    EXPECT_EQ(ChannelCell(1, cc::kName), QString());
    EXPECT_EQ(ChannelCell(1, 0), QStringLiteral("1"));
}

TEST_F(ChannelTablesTest, PanelsFollowTheChannel) {
    const QByteArray transponders = Transponder(1612000000, 1000, 1, 2, 0, 2, 0x02) +
                                    Transponder(1588000000, 1001, 1, 1, 1, 4, 0x0D);
    tables.ParseTransponderRecords(transponders, 0, false);
    const QByteArray channels = Channel("A", 0x25, 1, {1, 2, 3, 0, 0, 0}) +
                                Channel("B", 0xFF, 2, {2, 2, 3, 0, 0, 0}) +
                                Channel("C", 0x04, 0, {3, 2, 3, 0, 0, 0});
    tables.SetTableImage(channels);
    tables.ParseChannelRecords(channels, 0, false, 0);
    // 22 kHz off: LNB-low 9750 MHz; the tuner's 1612000 kHz shows 11362000.
    const ChannelPanels a = tables.PanelsFor(1);
    ASSERT_TRUE(a.transponder);
    EXPECT_EQ(*a.transponder,
              (TransponderInfo{"Astra", "11362000", "H", "3/4", "27500", "2", "Ku"}));
    EXPECT_EQ(a.status, (ChannelStatus{true, false, true, false, false, 1}));
    const ChannelPanels b = tables.PanelsFor(2);
    ASSERT_TRUE(b.transponder);
    EXPECT_EQ(b.transponder->frequency, QStringLiteral("12188000"));  // 22 kHz on: LNB-high 10600
    EXPECT_EQ(b.transponder->band, QStringLiteral("C"));
    EXPECT_EQ(b.transponder->satellite, QStringLiteral("Hotbird"));
    EXPECT_EQ(b.status, (ChannelStatus{true, true, true, true, true, 7}));
    // Transponder 0: the first satellite name, and no transponder panel.
    EXPECT_EQ(ChannelCell(3, cc::kSat), QStringLiteral("Astra"));
    EXPECT_FALSE(tables.PanelsFor(3).transponder);
    EXPECT_EQ(tables.PanelsFor(3).status, (ChannelStatus{false, false, true, false, false, 0}));
    settings.lnbLow = QStringLiteral("10000");
    tables.Transponders().SetCell(1, tc::kFrec, QStringLiteral("1612000,5"));
    EXPECT_EQ(tables.PanelsFor(1).transponder->frequency, QStringLiteral("11612000,5"));
    // A RAM table has no transponders to show.
    tables.LoadRamTable();
    EXPECT_FALSE(tables.PanelsFor(1).transponder);
}

TEST_F(ChannelTablesTest, ChangingTheCountsKeepsChannelsAndEmptiesTheRest) {
    LoadRam(Channel("A", 4, 1, {1, 2, 3, 0, 0, 0}) + Channel("", 0, 0, {0, 0, 0, 0, 0, 0}) +
            Channel("C", 4, 2, {5, 6, 7, 0, 0, 0}));
    tables.Channels().SetCell(4, cc::kTrsp, QString());  // a row emptied by hand
    tables.Channels().SetCell(4, cc::kSid, QString());
    tables.Channels().SetCell(4, cc::kVpid, QString());
    settings.channelCount = 1;
    ApplyChannelCount(settings);
    tables.ApplyChannelCount();
    ASSERT_EQ(tables.ChannelRows(), 2003);
    EXPECT_EQ(ChannelCell(3, cc::kName), QStringLiteral("C"));  // kept, though after a free row
    EXPECT_EQ(ChannelCell(3, cc::kSid), QStringLiteral("5"));
    EXPECT_EQ(ChannelCell(4, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(ChannelCell(2002, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(ChannelCell(2002, cc::kSta), QStringLiteral("0"));
    EXPECT_EQ(ChannelCell(2002, cc::kSat), QStringLiteral("Astra"));
    EXPECT_EQ(ChannelCell(2002, 0), QStringLiteral("2002"));

    // A RAM table leaves the transponder grid alone; a flash table fills it.
    settings.transponderCount = 1;
    ApplyTransponderCount(settings);
    tables.ApplyTransponderCount();
    EXPECT_EQ(tables.TransponderRows(), 200);
    EXPECT_EQ(TransponderCell(150, tc::kFrec), QString());
}

TEST_F(ChannelTablesTest, RenamingASatelliteRenamesEveryExactMatch) {
    ReadTransponders(Transponder(1612000000, 1000, 1, 2, 0, 2, 0x08) +
                     Transponder(1588000000, 1001, 1, 1, 1, 4, 0x00));
    tables.Channels().SetCell(1, cc::kSat, QStringLiteral("Hotbird"));
    tables.Channels().SetCell(2, cc::kSat, QStringLiteral("hotbird"));
    tables.RenameSatellite(QStringLiteral("Hotbird"), QStringLiteral("Eutelsat"));
    EXPECT_EQ(ChannelCell(1, cc::kSat), QStringLiteral("Eutelsat"));
    EXPECT_EQ(ChannelCell(2, cc::kSat), QStringLiteral("hotbird"));
    EXPECT_EQ(TransponderCell(1, tc::kSat), QStringLiteral("Eutelsat"));
    EXPECT_EQ(TransponderCell(2, tc::kSat), QStringLiteral("Astra"));
}

TEST_F(ChannelTablesTest, HeadingsFollowTheLanguage) {
    EXPECT_EQ(TransponderCell(0, tc::kFrec), QStringLiteral("FREC"));
    EXPECT_EQ(TransponderCell(0, tc::kBand), QStringLiteral("BANDA"));
    EXPECT_EQ(TransponderCell(0, tc::kSat), QStringLiteral("SAT"));
    EXPECT_EQ(TransponderCell(0, 0), QString());
    Messages().SetText(210, QStringLiteral("BAND"));
    tables.ApplyHeadings();
    EXPECT_EQ(TransponderCell(0, tc::kBand), QStringLiteral("BAND"));
    Messages().ResetToDefaults();
}

TEST(TextForms, NumbersAndFrequencies) {
    EXPECT_EQ(DecimalInteger(u"65535"), 65535);
    EXPECT_EQ(DecimalInteger(u"-1"), -1);
    EXPECT_EQ(DecimalInteger(u"+7"), 7);
    EXPECT_EQ(DecimalInteger(u"2147483647"), 2147483647);
    EXPECT_FALSE(DecimalInteger(u"2147483648"));
    EXPECT_EQ(DecimalInteger(u"-2147483648"), std::numeric_limits<std::int32_t>::min());
    for (const char16_t* bad : {u"", u"-", u" 1", u"1 ", u"1A", u"1,0", u"99999999999999999999"})
        EXPECT_FALSE(DecimalInteger(bad));
    EXPECT_EQ(DecimalNumber(u"1612000,5"), 1612000.5);
    EXPECT_EQ(DecimalNumber(u"12"), 12.0);
    EXPECT_EQ(DecimalNumber(u",5"), 0.5);
    for (const char16_t* bad : {u"", u",", u"1,2,3", u"1.5", u"1e3", u"abc"})
        EXPECT_FALSE(DecimalNumber(bad));
    EXPECT_EQ(FrequencyText(1612000.0), QStringLiteral("1612000"));
    EXPECT_EQ(FrequencyText(1612000.5), QStringLiteral("1612000,5"));
    EXPECT_EQ(FrequencyText(4294967.295), QStringLiteral("4294967,295"));
    EXPECT_EQ(FrequencyText(11362000.0), QStringLiteral("11362000"));
}

TEST(TextForms, ClipboardKinds) {
    const QString channelRow = "1\tA\t1\t2\t3\t4\t5\t6\t7\t04\tAstra\t\r\n";
    const QString transponderRow = "1\t1612000\t1\t1\t3/4\tV\t27500\tOff\t2\tKu\tAstra\t\r\n";
    EXPECT_EQ(KindOfClipboard(channelRow + channelRow), ClipboardKind::ChannelRows);
    EXPECT_EQ(KindOfClipboard(transponderRow), ClipboardKind::TransponderRows);
    EXPECT_EQ(KindOfClipboard(u"no tabs"), ClipboardKind::None);
    EXPECT_EQ(KindOfClipboard(channelRow + "\t"), ClipboardKind::None);
    EXPECT_EQ(EncryptionSystemName(0), QStringLiteral("No cambiar"));
    EXPECT_EQ(EncryptionSystemName(7), QStringLiteral("Cryptoworks"));
}

}  // namespace
}  // namespace velarix
