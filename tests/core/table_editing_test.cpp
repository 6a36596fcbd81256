// The editing operations of the two tables, on rows written out here by hand;
// every expected row is named by the channel or transponder it held before.
#include <gtest/gtest.h>

#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/table_editing.h"
#include "tuning/text_forms.h"
#include "tuning_settings.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

struct TableEditingTest : ::testing::Test {
    Settings settings = test::TuningSettings();
    ChannelTables tables{settings};

    void SetUp() override {
        for (int r = 1; r < tables.ChannelRows(); ++r) tables.EmptyChannelRow(r);
        for (int r = 1; r < tables.TransponderRows(); ++r) tables.EmptyTransponderRow(r);
    }
    // Channel row `row` named "C<row>", on transponder `trsp`.
    void Channel(int row, int trsp, const char* sta = "04", const char* sid = nullptr) {
        TableRows& c = tables.Channels();
        c.SetCell(row, cc::kName, QStringLiteral("C%1").arg(row));
        c.SetCell(row, cc::kTrsp, QString::number(trsp));
        c.SetCell(row, cc::kSid, sid ? QString::fromLatin1(sid) : QString::number(1000 + row));
        c.SetCell(row, cc::kVpid, QStringLiteral("160"));
        c.SetCell(row, cc::kApid, QStringLiteral("80"));
        c.SetCell(row, cc::kSta, QString::fromLatin1(sta));
        c.SetCell(row, cc::kSat, QStringLiteral("Astra"));
        tables.RecolorChannelRow(row);
    }
    void Channels(int count) {
        for (int r = 1; r <= count; ++r) Channel(r, 1);
    }
    // Transponder row `row` with FREC 1600000 + row and TRSP (the stream id) 100 + row.
    void Transponder(int row) {
        TableRows& t = tables.Transponders();
        t.SetCell(row, tc::kFrec, QString::number(1600000 + row));
        t.SetCell(row, tc::kTrsp, QString::number(100 + row));
        t.SetCell(row, tc::kNet, QStringLiteral("1"));
        t.SetCell(row, tc::kTone, QStringLiteral("On"));
    }
    QString Name(int row) const { return tables.Channels().Cell(row, cc::kName); }
    QString Trsp(int row) const { return tables.Channels().Cell(row, cc::kTrsp); }
    QString Sta(int row) const { return tables.Channels().Cell(row, cc::kSta); }
    QString Frec(int row) const { return tables.Transponders().Cell(row, tc::kFrec); }
    // The names of channel rows first..last.
    QStringList Names(int first, int last) const {
        QStringList names;
        for (int r = first; r <= last; ++r) names << Name(r);
        return names;
    }
    bool IsEmptyChannelRow(int row) const {
        const TableRows& c = tables.Channels();
        if (!c.Cell(row, cc::kName).isEmpty() || c.Colour(row) != kWhite) return false;
        for (int col = cc::kTrsp; col <= cc::kSta; ++col) {
            if (c.Cell(row, col) != QLatin1String("0")) return false;
        }
        return c.Cell(row, cc::kSat) == QLatin1String("Astra") &&
               c.Cell(row, 0) == QString::number(row);
    }
};

TEST_F(TableEditingTest, MovingChannelRowsDownClosesTheGapBeforeTheBlock) {
    Channels(20);
    const MoveResult moved = MoveChannels(tables, {5, 9}, 7);
    EXPECT_EQ(moved.target, 7);
    EXPECT_FALSE(moved.fieldReset);
    EXPECT_EQ(Names(1, 13), (QStringList{"C1", "C2", "C3", "C4", "C10", "C11", "C5", "C6", "C7",
                                         "C8", "C9", "C12", "C13"}));
    // Only the contents move: the row numbers stay.
    EXPECT_EQ(tables.Channels().Cell(5, 0), QStringLiteral("5"));
}

TEST_F(TableEditingTest, MovingChannelRowsUpPutsTheBlockFirst) {
    Channels(12);
    EXPECT_EQ(MoveChannels(tables, {5, 9}, 2).target, 2);
    EXPECT_EQ(Names(1, 11),
              (QStringList{"C1", "C5", "C6", "C7", "C8", "C9", "C2", "C3", "C4", "C10", "C11"}));
    // A target equal to the first row moves nothing.
    MoveChannels(tables, {4, 6}, 4);
    EXPECT_EQ(Names(1, 3), (QStringList{"C1", "C5", "C6"}));
}

TEST_F(TableEditingTest, ABlockMovedPastTheEndStopsAtTheLastRow) {
    ASSERT_EQ(tables.ChannelRows(), 1000);
    for (int r = 1; r <= 999; ++r) Channel(r, 1);
    const MoveResult moved = MoveChannels(tables, {5, 9}, 998);
    EXPECT_EQ(moved.target, 995);
    EXPECT_FALSE(moved.fieldReset);  // the field keeps 998
    EXPECT_EQ(Names(995, 999), (QStringList{"C5", "C6", "C7", "C8", "C9"}));
    EXPECT_EQ(Names(4, 6), (QStringList{"C4", "C10", "C11"}));
    EXPECT_EQ(Name(994), QStringLiteral("C999"));
}

TEST_F(TableEditingTest, ATargetOutsideTheRecordsBecomesRowOne) {
    Channels(12);
    for (int target : {0, 1000, -3}) {
        const MoveResult moved = MoveChannels(tables, {11, 12}, target);
        EXPECT_EQ(moved.target, 1) << target;
        EXPECT_TRUE(moved.fieldReset) << target;
    }
    // Each time the last two of the first twelve went to the top.
    EXPECT_EQ(Names(1, 8), (QStringList{"C7", "C8", "C9", "C10", "C11", "C12", "C1", "C2"}));
}

TEST_F(TableEditingTest, MovedTransponderRowsTakeTheirChannelsAlong) {
    for (int t = 1; t <= 4; ++t) Transponder(t);
    Channel(1, 1);
    Channel(2, 2);
    Channel(3, 3);
    Channel(4, 0);
    Channel(5, 150);  // names no row of a 100-row table
    Channel(6, 4);
    MoveTransponders(tables, {3, 3}, 1);
    EXPECT_EQ(Frec(1), QStringLiteral("1600003"));
    EXPECT_EQ(Frec(2), QStringLiteral("1600001"));
    EXPECT_EQ(Frec(3), QStringLiteral("1600002"));
    EXPECT_EQ(Frec(4), QStringLiteral("1600004"));
    EXPECT_EQ(Trsp(1), QStringLiteral("2"));
    EXPECT_EQ(Trsp(2), QStringLiteral("3"));
    EXPECT_EQ(Trsp(3), QStringLiteral("1"));
    EXPECT_EQ(Trsp(4), QStringLiteral("0"));
    EXPECT_EQ(Trsp(5), QStringLiteral("150"));
    EXPECT_EQ(Trsp(6), QStringLiteral("4"));
    EXPECT_EQ(tables.Transponders().Cell(1, 0), QStringLiteral("1"));
}

TEST_F(TableEditingTest, DeletingChannelRowsLeavesEmptyRowsAtTheEnd) {
    for (int r = 1; r <= 999; ++r) Channel(r, 1);
    DeleteChannels(tables, {2, 3});
    EXPECT_EQ(Names(1, 3), (QStringList{"C1", "C4", "C5"}));
    EXPECT_EQ(Name(997), QStringLiteral("C999"));
    EXPECT_TRUE(IsEmptyChannelRow(998));
    EXPECT_TRUE(IsEmptyChannelRow(999));
    EXPECT_EQ(tables.Channels().Colour(2), 0xF5E2AFu);
}

TEST_F(TableEditingTest, DeletingTransponderRowsDeletesTheirChannels) {
    for (int t = 1; t <= 5; ++t) Transponder(t);
    Channel(1, 1);
    Channel(2, 2);
    Channel(3, 4);
    Channel(4, 3);
    Channel(5, 0);
    Channel(6, 5);
    Channel(7, 2);
    DeleteTransponders(tables, {2, 3});
    // Channels 2, 4 and 7 went with their transponders; the others closed up.
    EXPECT_EQ(Names(1, 4), (QStringList{"C1", "C3", "C5", "C6"}));
    EXPECT_EQ(Trsp(1), QStringLiteral("1"));
    EXPECT_EQ(Trsp(2), QStringLiteral("2"));  // was 4
    EXPECT_EQ(Trsp(3), QStringLiteral("0"));
    EXPECT_EQ(Trsp(4), QStringLiteral("3"));  // was 5
    EXPECT_TRUE(IsEmptyChannelRow(5));
    EXPECT_TRUE(IsEmptyChannelRow(999));
    EXPECT_EQ(Frec(2), QStringLiteral("1600004"));
    EXPECT_EQ(Frec(3), QStringLiteral("1600005"));
    EXPECT_EQ(Frec(4), QStringLiteral("0"));
    // The last two rows are empty transponder rows.
    const TableRows& t = tables.Transponders();
    for (int row : {98, 99}) {
        EXPECT_EQ(t.Cell(row, tc::kFrec), QStringLiteral("0"));
        EXPECT_EQ(t.Cell(row, tc::kFec), QStringLiteral("1/2"));
        EXPECT_EQ(t.Cell(row, tc::kPol), QStringLiteral("V"));
        EXPECT_EQ(t.Cell(row, tc::kSr), QStringLiteral("27500"));
        EXPECT_EQ(t.Cell(row, tc::kTone), QStringLiteral("Off"));
        EXPECT_EQ(t.Cell(row, tc::kBand), QStringLiteral("Ku"));
        EXPECT_EQ(t.Cell(row, tc::kSat), QStringLiteral("Astra"));
    }
}

TEST_F(TableEditingTest, CopiedRowsCarryElevenTabsEachAndTellTheirKind) {
    Channel(2, 7, "15");
    Channel(3, 7, "04");
    const QString text = CopyRows(tables.Channels(), {2, 3});
    EXPECT_EQ(text, QStringLiteral("2\tC2\t7\t1002\t160\t80\t0\t0\t0\t15\tAstra\t\r\n"
                                   "3\tC3\t7\t1003\t160\t80\t0\t0\t0\t04\tAstra\t\r\n"));
    EXPECT_EQ(KindOfClipboard(text), ClipboardKind::ChannelRows);
    Transponder(1);
    EXPECT_EQ(CopyRows(tables.Transponders(), {1, 1}),
              QStringLiteral("1\t1600001\t101\t1\t1/2\tV\t27500\tOn\t0\tKu\tAstra\t\r\n"));
    EXPECT_EQ(KindOfClipboard(CopyRows(tables.Transponders(), {1, 1})),
              ClipboardKind::TransponderRows);
    EXPECT_EQ(KindOfClipboard(QStringLiteral("a\tb\r\n")), ClipboardKind::None);
    EXPECT_EQ(KindOfClipboard(QStringLiteral("no tabs at all")), ClipboardKind::None);

    // Rows of the other kind, or no rows at all, paste nothing.
    const auto before = tables.Channels().Rows();
    EXPECT_FALSE(PasteChannels(tables, 1, CopyRows(tables.Transponders(), {1, 1})));
    EXPECT_FALSE(PasteChannels(tables, 1, text.left(text.size() - 3)));  // one TAB short
    EXPECT_FALSE(PasteTransponders(tables, 1, text).pasted);
    EXPECT_EQ(tables.Channels().Rows(), before);
}

TEST_F(TableEditingTest, PastedChannelRowsPushTheRowsDownAndKeepTheirTexts) {
    for (int r = 1; r <= 999; ++r) Channel(r, 1);
    tables.Channels().SetCell(8, cc::kVpid, QStringLiteral("65535"));
    tables.Channels().SetCell(8, cc::kApid, QStringLiteral("65535"));
    tables.Channels().SetCell(8, cc::kTrsp, QStringLiteral("42"));
    const QString clipboard = CopyRows(tables.Channels(), {8, 9});
    ASSERT_TRUE(PasteChannels(tables, 3, clipboard));
    EXPECT_EQ(Names(1, 6), (QStringList{"C1", "C2", "C8", "C9", "C3", "C4"}));
    EXPECT_EQ(Trsp(3), QStringLiteral("42"));      // even a transponder that may not exist
    EXPECT_EQ(Name(999), QStringLiteral("C997"));  // the last two rows were lost
    EXPECT_EQ(tables.Channels().Cell(3, 0), QStringLiteral("3"));
    EXPECT_EQ(tables.Channels().Colour(3), 0xBFF5C0u);
    EXPECT_EQ(tables.Channels().Colour(5), 0xF5E2AFu);

    // Lines from another program may end with LF alone: still one row each.
    QString lf = clipboard;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    ASSERT_TRUE(PasteChannels(tables, 1, lf));
    EXPECT_EQ(Names(1, 5), (QStringList{"C8", "C9", "C1", "C2", "C8"}));

    // Pasted at the very end: nothing moves, lines past the last row dropped.
    ASSERT_TRUE(PasteChannels(tables, 999, clipboard));
    EXPECT_EQ(Name(999), QStringLiteral("C8"));
    EXPECT_EQ(Name(998), QStringLiteral("C994"));
}

TEST_F(TableEditingTest, PastedTransponderRowsPushTheUsedRowsDownWithTheirChannels) {
    for (int t = 1; t <= 5; ++t) Transponder(t);
    for (int t = 1; t <= 5; ++t) Channel(t, t);
    Channel(6, 0);
    Channel(7, 3);
    const QString clipboard = CopyRows(tables.Transponders(), {4, 5});
    const TransponderPaste pasted = PasteTransponders(tables, 2, clipboard);
    ASSERT_TRUE(pasted.pasted);
    EXPECT_EQ(pasted.detached, 0);
    EXPECT_EQ(tables.FirstFreeTransponderRow(), 8);  // seven rows used
    const QStringList frequencies{"1600001", "1600004", "1600005", "1600002",
                                  "1600003", "1600004", "1600005"};
    for (int t = 1; t <= 7; ++t) {
        EXPECT_EQ(Frec(t), frequencies[t - 1]) << t;
        EXPECT_EQ(tables.Transponders().Cell(t, 0), QString::number(t));
    }
    // The channels follow their transponders; the pasted rows have none.
    EXPECT_EQ(Trsp(1), QStringLiteral("1"));
    EXPECT_EQ(Trsp(2), QStringLiteral("4"));
    EXPECT_EQ(Trsp(3), QStringLiteral("5"));
    EXPECT_EQ(Trsp(4), QStringLiteral("6"));
    EXPECT_EQ(Trsp(5), QStringLiteral("7"));
    EXPECT_EQ(Trsp(6), QStringLiteral("0"));
    EXPECT_EQ(Trsp(7), QStringLiteral("5"));
}

// Used rows after a free one move down too: the pasted rows never take the
// place of a transponder in use, wherever they land.
TEST_F(TableEditingTest, APasteNeverOverwritesATransponderInUse) {
    for (int t : {1, 2, 3, 4, 5, 7, 8, 9, 10}) Transponder(t);  // row 6 is free
    Channel(1, 7);
    Channel(2, 10);
    Channel(3, 2);
    const TransponderPaste pasted =
        PasteTransponders(tables, 2, CopyRows(tables.Transponders(), {1, 2}));
    ASSERT_TRUE(pasted.pasted);
    EXPECT_EQ(pasted.detached, 0);
    const QStringList frequencies{"1600001", "1600001", "1600002", "1600002", "1600003", "1600004",
                                  "1600005", "0",       "1600007", "1600008", "1600009", "1600010"};
    for (int t = 1; t <= 12; ++t) EXPECT_EQ(Frec(t), frequencies[t - 1]) << t;
    EXPECT_EQ(Trsp(1), QStringLiteral("9"));   // 1600007 now at row 9
    EXPECT_EQ(Trsp(2), QStringLiteral("12"));  // 1600010 at row 12
    EXPECT_EQ(Trsp(3), QStringLiteral("4"));   // 1600002 at row 4

    // Pasted into the free row of a gap: the rows after it move on as well.
    Channel(4, 11);
    ASSERT_TRUE(PasteTransponders(tables, 8, CopyRows(tables.Transponders(), {1, 1})).pasted);
    EXPECT_EQ(Frec(8), QStringLiteral("1600001"));
    EXPECT_EQ(Frec(10), QStringLiteral("1600007"));
    EXPECT_EQ(Trsp(1), QStringLiteral("10"));
    EXPECT_EQ(Trsp(4), QStringLiteral("12"));
}

// Rows pushed past the end of the transponder table are lost; their channels
// must not be left naming some other transponder's row.
TEST_F(TableEditingTest, ChannelsOfTransponderRowsPushedPastTheEndAreDetached) {
    for (int t = 1; t <= 98; ++t) Transponder(t);  // row 99 is free
    Channel(1, 98);
    Channel(2, 97);
    Channel(3, 98);
    Channel(4, 96);
    Channel(5, 99);  // names the free row: not moved, not detached
    const TransponderPaste pasted =
        PasteTransponders(tables, 50, CopyRows(tables.Transponders(), {1, 2}));
    ASSERT_TRUE(pasted.pasted);
    EXPECT_EQ(pasted.detached, 2);
    EXPECT_EQ(Trsp(1), QStringLiteral("0"));
    EXPECT_EQ(Trsp(2), QStringLiteral("99"));
    EXPECT_EQ(Trsp(3), QStringLiteral("0"));
    EXPECT_EQ(Trsp(4), QStringLiteral("98"));
    EXPECT_EQ(Trsp(5), QStringLiteral("99"));
    EXPECT_EQ(Frec(99), QStringLiteral("1600097"));
    EXPECT_EQ(Frec(50), QStringLiteral("1600001"));
    EXPECT_EQ(Frec(52), QStringLiteral("1600050"));

    // A full table: the last rows go and all their channels with them.
    for (int t = 1; t <= 99; ++t) Transponder(t);
    Channel(1, 99);
    Channel(2, 99);
    Channel(3, 1);
    Channel(4, 2);
    Channel(5, 2);
    const TransponderPaste full =
        PasteTransponders(tables, 99, CopyRows(tables.Transponders(), {1, 1}));
    EXPECT_EQ(full.detached, 2);
    EXPECT_EQ(Trsp(1), QStringLiteral("0"));
    EXPECT_EQ(Trsp(3), QStringLiteral("1"));
    EXPECT_EQ(Frec(99), QStringLiteral("1600001"));
}

TEST_F(TableEditingTest, ADraggedRowTakesItsPlaceAndTheOthersShift) {
    Channels(8);
    tables.Channels().SetCell(2, cc::kVpid, QStringLiteral("65535"));
    tables.RecolorChannelRow(2);
    DragChannelRow(tables, 2, 5);
    EXPECT_EQ(Names(1, 6), (QStringList{"C1", "C3", "C4", "C5", "C2", "C6"}));
    EXPECT_EQ(tables.Channels().Colour(5), 0xBFD0F5u);  // the colour went with it
    EXPECT_EQ(tables.Channels().Colour(2), 0xF5E2AFu);
    DragChannelRow(tables, 5, 1);
    EXPECT_EQ(Names(1, 6), (QStringList{"C2", "C1", "C3", "C4", "C5", "C6"}));

    for (int t = 1; t <= 4; ++t) Transponder(t);
    for (int c = 1; c <= 4; ++c) Channel(c, c);
    Channel(5, 0);
    DragTransponderRow(tables, 1, 3);
    EXPECT_EQ(Frec(1), QStringLiteral("1600002"));
    EXPECT_EQ(Frec(3), QStringLiteral("1600001"));
    EXPECT_EQ((QStringList{Trsp(1), Trsp(2), Trsp(3), Trsp(4), Trsp(5)}),
              (QStringList{"3", "1", "2", "4", "0"}));
    DragTransponderRow(tables, 4, 2);
    EXPECT_EQ((QStringList{Trsp(1), Trsp(2), Trsp(3), Trsp(4)}), (QStringList{"4", "1", "3", "2"}));
}

TEST_F(TableEditingTest, StatusBitsAndEncryptionOfTheSelectedChannels) {
    Channel(1, 1, "15");
    Channel(2, 1, "15");
    Channel(3, 1, "15");
    Channel(4, 1, "15");
    // Typing "3": Betacrypt, the other bits kept ("Audio Mono" 10h stays).
    SetEncryption(tables, {1, 3}, *EncryptionOfKey(QLatin1Char('3')));
    EXPECT_EQ((QStringList{Sta(1), Sta(2), Sta(3), Sta(4)}), (QStringList{"75", "75", "75", "15"}));
    SetEncryption(tables, {2, 2}, *EncryptionOfKey(QLatin1Char('8')));
    EXPECT_EQ(Sta(2), QStringLiteral("15"));
    EXPECT_EQ(EncryptionOfKey(QLatin1Char('7')), 7);
    EXPECT_EQ(EncryptionOfKey(QLatin1Char('9')), std::nullopt);
    EXPECT_EQ(EncryptionOfKey(QLatin1Char('0')), std::nullopt);

    // "Activo" clicked while it shows ticked: the bit is cleared in every row.
    Channel(5, 1, "04");
    Channel(6, 1, "05");
    SetStatusBit(tables, {5, 6}, status_bit::kActive, false);
    EXPECT_EQ(Sta(5), QStringLiteral("00"));
    EXPECT_EQ(Sta(6), QStringLiteral("01"));
    SetStatusBit(tables, {5, 6}, status_bit::kMono, true);
    EXPECT_EQ(Sta(5), QStringLiteral("10"));
    EXPECT_EQ(Sta(6), QStringLiteral("11"));
    // A STA that is not hexadecimal reads as FFh, as the record builder writes it.
    tables.Channels().SetCell(5, cc::kSta, QStringLiteral("zz"));
    SetStatusBit(tables, {5, 5}, status_bit::kFavourite, false);
    EXPECT_EQ(Sta(5), QStringLiteral("FD"));
}

TEST_F(TableEditingTest, SwappingTwoSatellitesTwiceRestoresEverySat) {
    const QStringList sats{"Astra", "Hotbird", "Hispasat", "Astra", "Sirius", "Hotbird"};
    for (int r = 1; r <= sats.size(); ++r) {
        Channel(r, 1);
        tables.Channels().SetCell(r, cc::kSat, sats[r - 1]);
        tables.Transponders().SetCell(r, tc::kSat, sats[sats.size() - r]);
    }
    const auto channels = tables.Channels().Rows();
    const auto transponders = tables.Transponders().Rows();
    SwapSatellites(tables, QStringLiteral("Astra"), QStringLiteral("Hotbird"));
    EXPECT_EQ(tables.Channels().Cell(1, cc::kSat), QStringLiteral("Hotbird"));
    EXPECT_EQ(tables.Channels().Cell(2, cc::kSat), QStringLiteral("Astra"));
    EXPECT_EQ(tables.Channels().Cell(3, cc::kSat), QStringLiteral("Hispasat"));
    EXPECT_EQ(tables.Transponders().Cell(1, tc::kSat), QStringLiteral("Astra"));
    EXPECT_EQ(tables.Transponders().Cell(3, tc::kSat), QStringLiteral("Hotbird"));
    EXPECT_EQ(tables.Channels().Cell(900, cc::kSat), QStringLiteral("Hotbird"));  // empty rows
    SwapSatellites(tables, QStringLiteral("Astra"), QStringLiteral("Hotbird"));
    EXPECT_EQ(tables.Channels().Rows(), channels);
    EXPECT_EQ(tables.Transponders().Rows(), transponders);
}

TEST_F(TableEditingTest, SearchingFindsTheNextNameThatHoldsTheText) {
    const QStringList names{"Telé Música", "Eurosport 2", "Cine",
                            "Sportmania",  "EUROSPORT",   "Océano"};
    for (int r = 1; r <= names.size(); ++r) {
        Channel(r, 1);
        tables.Channels().SetCell(r, cc::kName, names[r - 1]);
    }
    const TableRows& c = tables.Channels();
    EXPECT_EQ(FindChannel(c, 1, QStringLiteral("sport")), 2);
    EXPECT_EQ(FindChannel(c, 2, QStringLiteral("sport")), 4);
    EXPECT_EQ(FindChannel(c, 4, QStringLiteral("sport")), 5);
    EXPECT_EQ(FindChannel(c, 5, QStringLiteral("sport")), std::nullopt);
    EXPECT_EQ(FindChannel(c, 0, QStringLiteral("tELÉ")), std::nullopt);  // é is not a letter a to z
    EXPECT_EQ(FindChannel(c, 0, QStringLiteral("tELé")), 1);
    EXPECT_EQ(FindChannel(c, 0, QStringLiteral("océ")), 6);
    EXPECT_EQ(FindChannel(c, 0, QString()), std::nullopt);
}

TEST_F(TableEditingTest, DuplicatesComeOneGroupAtATimeAndGatherUnderTheFirst) {
    for (int r = 1; r <= 10; ++r) Channel(r, r <= 5 ? 1 : 2);
    tables.Channels().SetCell(4, cc::kSid, QStringLiteral("1002"));   // same SID as 2, trsp 1
    tables.Channels().SetCell(9, cc::kSid, QStringLiteral("1002"));   // same SID, trsp 2: no
    tables.Channels().SetCell(7, cc::kSid, QStringLiteral("1006"));   // same as 6, trsp 2
    tables.Channels().SetCell(10, cc::kSid, QStringLiteral("1002"));  // same as 9
    tables.Channels().SetCell(3, cc::kName, QStringLiteral("C1"));    // a name group, later

    auto group = NextDuplicates(tables, 1);
    ASSERT_TRUE(group);
    EXPECT_EQ(*group, (std::vector<int>{2, 4}));
    EXPECT_EQ(NextDuplicates(tables, 3), (std::vector<int>{6, 7}));
    EXPECT_EQ(NextDuplicates(tables, 7), (std::vector<int>{9, 10}));
    EXPECT_EQ(NextDuplicates(tables, 10), (std::vector<int>{2, 4}));  // from the top again

    EXPECT_EQ(GatherChannels(tables, *group), (RowRange{2, 3}));
    EXPECT_EQ(Names(1, 5), (QStringList{"C1", "C2", "C4", "C1", "C5"}));  // "C1" was row 3
    EXPECT_EQ(GatherChannels(tables, {1, 4, 9}), (RowRange{1, 3}));
    EXPECT_EQ(Names(1, 6), (QStringList{"C1", "C1", "C9", "C2", "C4", "C5"}));

    // No SID and transponder shared: the same names then; free rows never count.
    for (int r = 1; r <= 10; ++r) Channel(r, 1);
    tables.Channels().SetCell(8, cc::kName, QStringLiteral("C5"));
    EXPECT_EQ(NextDuplicates(tables, 1), (std::vector<int>{5, 8}));
    tables.Channels().SetCell(8, cc::kName, QStringLiteral("C8"));
    EXPECT_EQ(NextDuplicates(tables, 1), std::nullopt);
}

}  // namespace
}  // namespace velarix
