// Flash images and RAM tables made by the simulator's own writer, loaded,
// merged, rebuilt and saved; exports against texts written out by hand.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "eeprom/hex.h"
#include "recording_frame.h"
#include "sample_tables.h"
#include "shell/message_table.h"
#include "test_files.h"
#include "tuning/table_files.h"
#include "tuning_settings.h"

namespace velarix {
namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

struct TableFilesTest : ::testing::Test {
    Settings settings = test::TuningSettings();
    ChannelTables tables{settings};
    test::RecordingFrame frame;
    QTemporaryDir dir;

    QString Cell(int row, int column) { return tables.Channels().Cell(row, column); }
    QString TpCell(int row, int column) { return tables.Transponders().Cell(row, column); }
    QString LastBox() { return frame.boxes.isEmpty() ? QString() : frame.boxes.last().text; }
    // Saves as "Guardar como..." does with a table-image file type.
    QByteArray Saved(const QString& name = QStringLiteral("saved.bin")) {
        const QString path = dir.filePath(name);
        const auto error = SaveTableImage(tables, path);
        EXPECT_FALSE(error) << error.value_or(QString()).toStdString();
        return test::FileContents(path);
    }
};

QByteArray Zeroed(QByteArray image, qsizetype from, qsizetype count) {
    std::fill_n(image.data() + from, count, '\0');
    return image;
}

TEST_F(TableFilesTest, TheSampleFlashImageLoadsAndSavesBackUnchanged) {
    const QByteArray image = sim::FlashImage();
    ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    EXPECT_TRUE(frame.boxes.isEmpty());
    EXPECT_FALSE(tables.RamMode());
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("03 (030000)"));
    EXPECT_EQ(tables.TransponderSectionLabel(), QStringLiteral("05 (050040)"));
    EXPECT_EQ(settings.tcs, 3);
    EXPECT_EQ(settings.tpt, 5);

    const auto channels = sim::SampleChannels();
    const auto transponders = sim::SampleTransponders();
    for (int i = 0; i < channels.size(); ++i) {
        const sim::SampleChannel& c = channels[i];
        const int row = i + 1;
        EXPECT_EQ(Cell(row, cc::kName), QString::fromLatin1(c.name)) << row;
        EXPECT_EQ(Cell(row, cc::kTrsp), QString::number(c.transponder)) << row;
        EXPECT_EQ(Cell(row, cc::kSid), QString::number(c.sid)) << row;
        EXPECT_EQ(Cell(row, cc::kVpid), QString::number(c.vpid)) << row;
        EXPECT_EQ(Cell(row, cc::kApid), QString::number(c.apid)) << row;
        EXPECT_EQ(Cell(row, cc::kSta), HexText(c.status, 2)) << row;
        const int satellite = c.transponder ? transponders[c.transponder - 1].flags >> 3 & 7 : 0;
        EXPECT_EQ(Cell(row, cc::kSat), settings.satellites[satellite]) << row;
    }
    EXPECT_EQ(Cell(channels.size() + 1, cc::kTrsp), QStringLiteral("0"));  // free from here on
    EXPECT_EQ(tables.FirstFreeChannelRow(), channels.size() + 1);
    EXPECT_EQ(TpCell(1, tc::kFrec), QStringLiteral("1612000"));
    EXPECT_EQ(TpCell(2, tc::kFrec), QStringLiteral("1612000,5"));
    EXPECT_EQ(TpCell(7, tc::kSr), QStringLiteral("1A"));
    EXPECT_EQ(TpCell(9, tc::kFec), QStringLiteral("07"));
    EXPECT_EQ(tables.FirstFreeTransponderRow(), 31);

    EXPECT_EQ(Saved(), image);
}

TEST_F(TableFilesTest, AnImageOf65536BytesOrLessIsRefusedWithoutASearch) {
    sim::FlashLayout layout;
    layout.size = 0x10000;
    layout.channelSection = 0;
    layout.transponderSection = 0x8000;
    layout.channelSlots = 999;
    layout.transponderSlots = 99;
    EXPECT_FALSE(tables.LoadTable(sim::FlashImage(layout), TableKind::FlashImage, frame));
    EXPECT_EQ(LastBox(), QStringLiteral("¡ No se ha encontrado ninguna tabla de canales !"));
    EXPECT_FALSE(tables.HasTable());
    EXPECT_TRUE(frame.listsOffered.isEmpty());
    layout.size = 0x10001;
    EXPECT_TRUE(tables.LoadTable(sim::FlashImage(layout), TableKind::FlashImage, frame));
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("00 (000000)"));
}

TEST_F(TableFilesTest, AnImageWithoutSectionsLeavesNoTable) {
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(), TableKind::FlashImage, frame));
    QByteArray noTransponders = sim::FlashImage();
    noTransponders[0x50040] = 'X';
    EXPECT_FALSE(tables.LoadTable(noTransponders, TableKind::FlashImage, frame));
    EXPECT_EQ(LastBox(),
              QStringLiteral("¡ No se ha encontrado ninguna tabla de transpondedores !"));
    EXPECT_FALSE(tables.HasTable());
    EXPECT_EQ(Cell(1, cc::kName), QString());  // the tables were emptied
    EXPECT_EQ(TpCell(1, tc::kFrec), QString());
    EXPECT_EQ(Cell(1, 0), QStringLiteral("1"));
    QByteArray noChannels = sim::FlashImage();
    noChannels[0x30030] = 'X';  // only one of the two tag fields
    EXPECT_FALSE(tables.LoadTable(noChannels, TableKind::FlashImage, frame));
    EXPECT_EQ(LastBox(), QStringLiteral("¡ No se ha encontrado ninguna tabla de canales !"));
}

TEST_F(TableFilesTest, SectionsInSeveralBlocksAskTheChooser) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    layout.channelSection = 0x70000;
    layout.moreChannelSections = {0x30000};
    layout.transponderSection = 0x50020;
    layout.moreTransponderSections = {0xA0000};
    const QByteArray image = sim::FlashImage(layout);
    frame.listAnswers = {1, 0};
    ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    ASSERT_EQ(frame.listsOffered.size(), 2);
    EXPECT_EQ(frame.listsOffered[0], (QStringList{"030000\tTCS", "070000\tTCS"}));
    EXPECT_EQ(frame.listsOffered[1], (QStringList{"50020\tTPT", "A0000\tTPT"}));
    EXPECT_EQ(frame.boxes[0].text, QStringLiteral("Elige una de las siguientes secciones : "));
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("07 (070000)"));
    EXPECT_EQ(tables.TransponderSectionLabel(), QStringLiteral("05 (050040)"));
    // With no answer the first listed is taken.
    EXPECT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("03 (030000)"));
    // The sections left out are wiped by the next save.
    const QByteArray saved = Saved();
    EXPECT_EQ(saved, Zeroed(Zeroed(image, 0xA0000, 1551), 0x70000, 60075));
}

TEST_F(TableFilesTest, ASectionInsideABlockStaysOrMovesToABlockStart) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    layout.channelSection = 0x70020;
    layout.transponderSection = 0x50000;
    const QByteArray image = sim::FlashImage(layout);
    ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("07 (070040)"));
    EXPECT_EQ(tables.TransponderSectionLabel(), QStringLiteral("05 (050000)"));
    EXPECT_EQ(settings.tcs, 7);
    EXPECT_EQ(Saved("kept.bin"), image);

    settings.tcs = 10;  // "Posición TCS :" on A0000
    QByteArray expected = image;
    const QByteArray moved =
        sim::BlockPrefix() + sim::SectionTags("TCS") + sim::ChannelRecords(layout.channels, 999);
    std::copy(moved.begin(), moved.end(), expected.begin() + 0xA0000);
    expected = Zeroed(expected, 0x70040, 60075);
    EXPECT_EQ(Saved("moved.bin"), expected);
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("0A (0A0000)"));
    EXPECT_EQ(tables.ChannelSection(), (SectionPlace{0xA0000, 0}));
    EXPECT_EQ(Saved("again.bin"), expected);  // a second save changes nothing more
}

TEST_F(TableFilesTest, AMergeAppendsAfterTheFirstFreeRows) {
    sim::FlashLayout base;
    base.transponders = sim::ManyTransponders(40);
    base.channels = sim::ManyChannels(100, 40);
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(base), TableKind::FlashImage, frame));
    ASSERT_EQ(tables.FirstFreeTransponderRow(), 41);

    sim::FlashLayout added;
    added.size = 0x50000;
    added.channelSection = 0x20000;
    added.transponderSection = 0x40000;
    added.transponders = sim::ManyTransponders(3);
    added.channels = sim::ManyChannels(3, 2);
    added.channels[0].transponder = 1;
    added.channels[1].transponder = 2;
    added.channels[2].transponder = 0;
    ASSERT_TRUE(tables.MergeTable(sim::FlashImage(added), frame));
    EXPECT_EQ(Cell(100, cc::kSid), QString::number(base.channels[99].sid));
    EXPECT_EQ(Cell(101, cc::kTrsp), QStringLiteral("41"));
    EXPECT_EQ(Cell(102, cc::kTrsp), QStringLiteral("42"));
    EXPECT_EQ(Cell(103, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(Cell(101, cc::kName), QString::fromLatin1(added.channels[0].name));
    EXPECT_EQ(Cell(104, cc::kTrsp), QStringLiteral("0"));  // the added file's free records
    EXPECT_EQ(TpCell(41, tc::kFrec), QStringLiteral("1612000"));
    EXPECT_EQ(TpCell(43, tc::kTrsp), QString::number(added.transponders[2].tsid));
    // The loaded file's places stay, labelled the merge's way.
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("3 (30000)"));
    EXPECT_EQ(tables.TransponderSectionLabel(), QStringLiteral("5 (50000)"));
    EXPECT_EQ(tables.TransponderSection(), (SectionPlace{0x50000, 0x20}));
    EXPECT_EQ(settings.tcs, 3);
    EXPECT_EQ(settings.tpt, 5);

    const auto before = tables.Channels().Rows();
    EXPECT_FALSE(tables.MergeTable(QByteArray(0x20000, '\xFF'), frame));
    EXPECT_EQ(LastBox(), QStringLiteral("¡ No se ha encontrado ninguna tabla de canales !"));
    EXPECT_EQ(tables.Channels().Rows(), before);
    EXPECT_TRUE(tables.HasTable());
}

// A merged channel whose transponder found no free row keeps none: it must
// not name one of the tables' own rows, nor a number past the last row.
TEST_F(TableFilesTest, AMergedChannelWhoseTransponderDidNotFitIsDetached) {
    sim::FlashLayout base;
    base.transponders = sim::ManyTransponders(90);
    base.channels = sim::ManyChannels(10, 90);
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(base), TableKind::FlashImage, frame));
    ASSERT_EQ(tables.FirstFreeTransponderRow(), 91);  // nine rows left of 99

    sim::FlashLayout added;
    added.transponders = sim::ManyTransponders(12);
    added.channels = sim::ManyChannels(3, 12);
    added.channels[0].transponder = 9;    // row 99: fits
    added.channels[1].transponder = 10;   // row 100: none
    added.channels[2].transponder = 255;  // 345: none, and no byte either
    ASSERT_TRUE(tables.MergeTable(sim::FlashImage(added), frame));
    EXPECT_EQ(Cell(11, cc::kTrsp), QStringLiteral("99"));
    EXPECT_EQ(Cell(12, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(Cell(13, cc::kTrsp), QStringLiteral("0"));
    EXPECT_EQ(LastBox(), QStringLiteral("Al añadir el archivo, 2 canales se han quedado sin "
                                        "transpondedor (TRSP 0): sus transpondedores no cabían "
                                        "en la tabla."));
}

TEST_F(TableFilesTest, ARamTableSavesItsRecordsAndKeepsTheBytesAfterThem) {
    const QByteArray ram = sim::RamTable();
    ASSERT_EQ(ram.size(), 30208);
    ASSERT_TRUE(tables.LoadTable(ram, TableKind::RamTable, frame));
    EXPECT_TRUE(tables.RamMode());
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("RAM"));
    EXPECT_EQ(tables.TransponderSectionLabel(), QString());
    EXPECT_EQ(Cell(1, cc::kSat), QString());
    EXPECT_EQ(Cell(320, cc::kSat), QString());
    tables.Channels().SetCell(1, cc::kName, QStringLiteral("Zoé"));
    const QByteArray saved = Saved();
    ASSERT_EQ(saved.size(), 30208);
    EXPECT_EQ(saved.left(16), QByteArray("Zo\xE9") + QByteArray(13, '\0'));
    EXPECT_EQ(saved.mid(16, 29970 - 16), ram.mid(16, 29970 - 16));
    EXPECT_EQ(saved.mid(29970), ram.mid(29970));
}

TEST_F(TableFilesTest, TextExportHasElevenTabsOnEveryLine) {
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(), TableKind::FlashImage, frame));
    const QByteArray text = GridText(tables.Transponders());
    ASSERT_TRUE(text.endsWith("\r\n"));
    const QList<QByteArray> lines = text.chopped(2).split('\n');
    ASSERT_EQ(lines.size(), 100);
    for (const QByteArray& line : lines) {
        EXPECT_EQ(line.count('\t'), 11) << line.constData();
        EXPECT_TRUE(line.endsWith("\t\r") || &line == &lines.last());
    }
    EXPECT_EQ(lines[0], "\tFREC\tTRSP\tNET\tFEC\tPOL\tSR\t22KHz\tCAN\tBANDA\tSAT\t\r");
    EXPECT_EQ(lines[1], "1\t1612000\t1000\t1\t1/2\tV\t27500\tOff\t11\tKu\tAstra\t\r");
    const QByteArray channels = GridText(tables.Channels());
    EXPECT_EQ(channels.count("\r\n"), 1000);
    EXPECT_TRUE(channels.contains("\n6\tNi\xF1os & Co\t"));
}

TEST_F(TableFilesTest, HtmlExportOfASmallGrid) {
    TableRows grid(3);
    grid.SetCell(0, 1, QStringLiteral("NOMBRE"));
    grid.SetCell(1, 1, QStringLiteral("Niños & Co"));
    grid.SetColour(1, 0xF5E2AF);
    grid.SetCell(2, 1, QStringLiteral("Eurosport 2"));
    HtmlStyle style;
    style.headingPointSize = 10;
    style.bold = true;
    style.underline = true;
    const QByteArray html = GridHtml(grid, style);
    QByteArray expected =
        "<table bgcolor=#FFFFFF>\r\n <tr>\r\n  <th align=center>\r\n  </th>"
        "  <th align=center>\r\n   <font color=#000000 size=3><b><u>NOMBRE"
        "</u></b></font>  </th>";
    for (int c = 2; c <= 10; ++c) expected += "  <th align=center>\r\n  </th>";
    expected +=
        " </tr>\r\n <tr>\r\n  <th align=center>\r\n1  </th>"
        "  <td align=center bgcolor=#F5E2AF>\r\nNi&ntilde;os &amp; Co  </td>";
    for (int c = 2; c <= 10; ++c) expected += "  <td align=center bgcolor=#F5E2AF>\r\n  </td>";
    expected +=
        " </tr>\r\n <tr>\r\n  <th align=center>\r\n2  </th>"
        "  <td align=center>\r\nEurosport 2  </td>";
    for (int c = 2; c <= 10; ++c) expected += "  <td align=center>\r\n  </td>";
    expected += " </tr>\r\n</table>\r\n";
    EXPECT_EQ(html, expected);
}

TEST(HtmlExport, EntitiesAndFontSizes) {
    EXPECT_EQ(HtmlEscaped(QStringLiteral("<a>")), QByteArray("&lt;a&gt;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xA0))), QByteArray("&nbsp;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xB8))), QByteArray("&cedille;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xC6))), QByteArray("&AElig;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xDF))), QByteArray("&szlig;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xF7))), QByteArray("&divide;"));
    EXPECT_EQ(HtmlEscaped(QString(QChar(0xFF))), QByteArray("&yuml;"));
    EXPECT_EQ(HtmlEscaped(QStringLiteral("€")), QByteArray("\x80"));
    const int sizes[][2] = {{0, 1},  {5, 1},  {6, 2},  {9, 2},  {10, 3}, {11, 4},
                            {13, 4}, {14, 5}, {17, 5}, {18, 6}, {21, 6}, {22, 7}};
    for (const auto& [points, size] : sizes) EXPECT_EQ(HtmlFontSize(points), size) << points;
}

// The position lists reach 1F0000; an image may end well before.
TEST_F(TableFilesTest, AMoveThatDoesNotFitIsRefusedAndNothingIsWritten) {
    const QByteArray image = sim::FlashImage();  // 80000h bytes
    ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    settings.tcs = 31;
    const QString path = dir.filePath("refused.bin");
    EXPECT_EQ(SaveTableImage(tables, path),
              QStringLiteral("¡ La tabla no cabe en el archivo en la posición elegida !\n"
                             "Posición TCS : 1F0000"));
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(tables.TableImage(), image);
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("03 (030000)"));

    // A block whose end the records would pass is refused too.
    settings.transponderCount = 1;
    ApplyTransponderCount(settings);
    tables.ApplyTransponderCount();
    QByteArray shorter = image.left(0x70000 + 68 + 199 * 12 - 1);
    ASSERT_TRUE(tables.LoadTable(shorter, TableKind::FlashImage, frame));
    settings.tpt = 6;
    EXPECT_FALSE(SaveTableImage(tables, path));
    settings.tpt = 7;
    EXPECT_EQ(SaveTableImage(tables, path),
              QStringLiteral("¡ La tabla no cabe en el archivo en la posición elegida !\n"
                             "Posición TPT : 70000"));
}

TEST_F(TableFilesTest, ASaveThatCannotBeWrittenSaysWhy) {
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(), TableKind::FlashImage, frame));
    const QString path = dir.filePath("missing/saved.bin");
    for (SaveKind kind : {SaveKind::TableImage, SaveKind::Text, SaveKind::Html}) {
        const auto error = SaveTables(tables, path, kind, tables.Channels(), HtmlStyle{});
        ASSERT_TRUE(error);
        EXPECT_TRUE(error->startsWith(QStringLiteral("¡ No se ha podido guardar el archivo !\n")));
        EXPECT_TRUE(error->contains(path));
    }
    EXPECT_EQ(SaveKindOfFilter(4), SaveKind::Text);
    EXPECT_EQ(SaveKindOfFilter(5), SaveKind::Html);
    for (int type : {1, 2, 3, 6}) EXPECT_EQ(SaveKindOfFilter(type), SaveKind::TableImage);
}

TEST_F(TableFilesTest, AFailedRebuildChangesNothing) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    const QByteArray image = sim::FlashImage(layout);
    ASSERT_TRUE(tables.LoadTable(image, TableKind::FlashImage, frame));
    settings.tcs = 10;
    tables.Channels().SetCell(2, cc::kVpid, QStringLiteral("x"));
    EXPECT_EQ(tables.RebuildImage(), QStringLiteral("'x' is not a valid integer value"));
    EXPECT_EQ(tables.TableImage(), image);
    EXPECT_EQ(tables.ChannelSection(), (SectionPlace{0x30000, 0}));
    EXPECT_EQ(tables.ChannelSectionLabel(), QStringLiteral("03 (030000)"));
    tables.Channels().SetCell(2, cc::kVpid, QStringLiteral("160"));
    const QByteArray saved = Saved();
    EXPECT_EQ(saved.mid(0xA0020, 3), QByteArray("TCS"));
    EXPECT_EQ(saved.mid(0x30020, 3), QByteArray(3, '\0'));
    ChannelTables again(settings);
    EXPECT_TRUE(again.LoadTable(saved, TableKind::FlashImage, frame));
    EXPECT_EQ(again.ChannelSectionLabel(), QStringLiteral("0A (0A0000)"));
}

// Wiping the old place of a moved section stops short of the other table.
TEST_F(TableFilesTest, WipingAMovedSectionLeavesTheOtherTable) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    layout.channelSlots = 999;
    layout.channelSection = 0x30000;
    layout.transponderSection = 0x38000;  // inside the same block, within the wiped length
    ASSERT_TRUE(tables.LoadTable(sim::FlashImage(layout), TableKind::FlashImage, frame));
    settings.tcs = 10;
    const QByteArray saved = Saved();
    EXPECT_EQ(saved.mid(0x30000, 0x38000 - 0x30000), QByteArray(0x8000, '\0'));
    ChannelTables again(settings);
    ASSERT_TRUE(again.LoadTable(saved, TableKind::FlashImage, frame));
    EXPECT_EQ(again.Transponders().Rows(), tables.Transponders().Rows());
    EXPECT_EQ(again.Channels().Rows(), tables.Channels().Rows());
}

TEST(SectionSearch, BothTagFieldsWithinTheImage) {
    QByteArray image(0x200, '\0');
    image.replace(0x32, 3, "TCS");
    image.replace(0x42, 3, "TCS");
    image.replace(0xA0, 3, "TCS");  // one tag field only
    EXPECT_EQ(FindSectionInWindow("TCS", 0, image), 0x12);
    EXPECT_EQ(FindSection("TCS", 0, image), 0x12);
    EXPECT_FALSE(FindSection("TPT", 0, image));
    EXPECT_EQ(FindSectionInWindow("TCS", 0, image.left(0x12 + 51)), 0x12);
    EXPECT_FALSE(FindSectionInWindow("TCS", 0, image.left(0x12 + 50)));

    QByteArray blocks(0x30000, '\0');
    blocks.replace(0x10010 + 32, 3, "TPT");
    blocks.replace(0x10010 + 48, 3, "TPT");
    EXPECT_FALSE(FindSectionInWindow("TPT", 0, blocks));
    EXPECT_EQ(FindSectionInWindow("TPT", 0x10000, blocks), 0x10010);
    EXPECT_EQ(FindSection("TPT", 0, blocks), 0x10010);
    EXPECT_FALSE(FindSection("TPT", 0x20000, blocks));
    EXPECT_FALSE(FindSection("TPT", 0x30000, blocks));
}

}  // namespace
}  // namespace velarix
