// tables export and tables save on files made by the simulator's own writer.
#include <gtest/gtest.h>

#include <QBuffer>

#include <QFile>
#include <QTemporaryDir>

#include "commands.h"
#include "sample_tables.h"
#include "shell/settings_folder.h"
#include "test_files.h"

namespace velarix::cli {
namespace {

struct TableCommandsTest : ::testing::Test {
    QTemporaryDir dir;
    VirtualClock clock;
    QString out, err;

    void SetUp() override { FillFromSample(dir.filePath("INIs"), VELARIX_SAMPLE_INIS); }
    QBuffer binary;  // what goes to standard output as bytes ("-o -")
    int Run(QStringList args) {
        out.clear();
        err.clear();
        args = QStringList{"--settings", dir.filePath("INIs"), "tables"} + args;
        QTextStream o(&out), e(&err);
        CliContext context(args, o, e, clock);
        binary.setData(QByteArray());
        binary.open(QIODevice::WriteOnly);
        context.binaryOut = &binary;
        const int status = RunCommand(context);
        o.flush();
        e.flush();
        return status;
    }
    QString File(const QString& name) const { return dir.filePath(name); }
    QString Put(const QString& name, const QByteArray& bytes) {
        return test::PutFile(File(name), bytes);
    }
    QByteArray Contents(const QString& name) const { return test::FileContents(File(name)); }
    // The fields of line `row` of a text export (row 0: the headings).
    QStringList Line(const QString& name, int row) const {
        const QList<QByteArray> lines = Contents(name).split('\n');
        if (row >= lines.size()) return {};
        return QString::fromLatin1(lines[row]).split(QLatin1Char('\t')).mid(0, 11);
    }
};

TEST_F(TableCommandsTest, SaveWritesTheImageBackOrMovesASection) {
    const QByteArray image = sim::FlashImage();
    const QString in = Put("flash.bin", image);
    ASSERT_EQ(Run({"save", "-i", in, "-o", File("same.rcu")}), 0) << err.toStdString();
    EXPECT_EQ(Contents("same.rcu"), image);

    ASSERT_EQ(Run({"save", "-i", in, "--tcs", "60000", "-o", File("moved.bin")}), 0)
        << err.toStdString();
    const QByteArray moved = Contents("moved.bin");
    EXPECT_EQ(moved.mid(0x60000, 68 + 999 * 30), image.mid(0x30000, 68 + 999 * 30));
    EXPECT_EQ(moved.mid(0x30000, 60075), QByteArray(60075, '\0'));

    // Both sections in one block: naming the block they are in keeps them there.
    sim::FlashLayout together;
    together.channelSection = 0x50000;
    together.transponderSection = 0x5C000;
    const QByteArray same = sim::FlashImage(together);
    const QString both = Put("both.bin", same);
    ASSERT_EQ(Run({"save", "-i", both, "--tpt", "50000", "-o", File("kept.bin")}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents("kept.bin"), same);
    EXPECT_TRUE(err.isEmpty()) << err.toStdString();

    // 1F0000 lies past the end of the image: refused, nothing written.
    EXPECT_EQ(Run({"save", "-i", in, "--tcs", "1F0000", "-o", File("refused.bin")}), 1);
    EXPECT_TRUE(err.contains("Posición TCS : 1F0000")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(File("refused.bin")));

    // The two positions stay apart, as the lists keep them.
    ASSERT_EQ(Run({"save", "-i", in, "--tpt", "30000", "-o", File("apart.bin")}), 0);
    EXPECT_TRUE(err.contains("Posición TPT : 20000")) << err.toStdString();
    EXPECT_EQ(Contents("apart.bin").mid(0x20020, 3), QByteArray("TPT"));
}

TEST_F(TableCommandsTest, ExportsOfEitherGrid) {
    const QString in = Put("flash.bin", sim::FlashImage());
    ASSERT_EQ(Run({"export", "-i", in, "--grid", "transponders", "--format", "text", "-o",
                   File("t.txt")}),
              0)
        << err.toStdString();
    const QByteArray text = Contents("t.txt");
    EXPECT_EQ(text.count("\r\n"), 100);
    EXPECT_EQ(text.count('\t'), 1100);
    EXPECT_TRUE(text.startsWith("\tFREC\tTRSP\tNET\tFEC\tPOL\tSR\t22KHz\tCAN\tBANDA\tSAT\t\r\n"));
    ASSERT_EQ(Run({"export", "-i", in, "--format", "html", "-o", File("c.txt")}), 0);
    EXPECT_TRUE(Contents("c.txt").contains("Ni&ntilde;os &amp; Co"));
    // save picks the export by the name.
    ASSERT_EQ(Run({"save", "-i", in, "-o", File("c.htm")}), 0);
    EXPECT_EQ(Contents("c.htm"), Contents("c.txt"));
    ASSERT_EQ(Run({"save", "-i", in, "--grid", "transponders", "-o", File("t2.txt")}), 0);
    EXPECT_EQ(Contents("t2.txt"), text);
    // "-o -" is standard output, byte for byte, and no file is made.
    ASSERT_EQ(Run({"export", "-i", in, "--grid", "transponders", "--format", "text", "-o", "-"}),
              0);
    binary.close();
    EXPECT_EQ(binary.data(), text);
    EXPECT_FALSE(QFile::exists(QStringLiteral("-")));
}

TEST_F(TableCommandsTest, SectionAnswersTheChooserInOrder) {
    sim::FlashLayout layout;
    layout.size = 0xC0000;
    layout.channelSection = 0x70000;
    layout.moreChannelSections = {0x30000};
    layout.moreTransponderSections = {0x90000};
    const QString in = Put("two.bin", sim::FlashImage(layout));
    ASSERT_EQ(Run({"save", "-i", in, "--section", "70000", "--section", "90000", "-o",
                   File("chosen.bin")}),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.contains("030000 070000")) << err.toStdString();
    EXPECT_TRUE(err.contains("50020 90000")) << err.toStdString();
    const QByteArray chosen = Contents("chosen.bin");
    EXPECT_EQ(chosen.mid(0x70020, 3), QByteArray("TCS"));
    EXPECT_EQ(chosen.mid(0x30020, 3), QByteArray(3, '\0'));
    EXPECT_EQ(chosen.mid(0x90020, 3), QByteArray("TPT"));
    EXPECT_EQ(chosen.mid(0x50040, 3), QByteArray(3, '\0'));
    // Without --section the first listed is taken.
    ASSERT_EQ(Run({"save", "-i", in, "-o", File("first.bin")}), 0);
    EXPECT_EQ(Contents("first.bin").mid(0x30020, 3), QByteArray("TCS"));
    EXPECT_EQ(Run({"save", "-i", in, "--section", "40000", "-o", File("x.bin")}), 2);
    EXPECT_TRUE(err.contains("--section 40000 is not one of 030000, 070000")) << err.toStdString();
    EXPECT_EQ(Run({"save", "-i", Put("one.bin", sim::FlashImage()), "--section", "30000", "-o",
                   File("x.bin")}),
              2);
    EXPECT_FALSE(QFile::exists(File("x.bin")));
}

TEST_F(TableCommandsTest, MergeAndRamTables) {
    const QString in = Put("flash.bin", sim::FlashImage());
    sim::FlashLayout added;
    added.channels = sim::ManyChannels(2, 2);
    added.channels[0].transponder = 1;
    added.channels[1].transponder = 2;
    added.transponders = sim::ManyTransponders(2);
    const QString more = Put("more.bin", sim::FlashImage(added));
    ASSERT_EQ(Run({"save", "-i", in, "--merge", more, "-o", File("merged.txt")}), 0)
        << err.toStdString();
    const QList<QByteArray> lines = Contents("merged.txt").split('\n');
    EXPECT_TRUE(lines[321].startsWith("321\t" + added.channels[0].name + "\t31\t"));
    EXPECT_TRUE(lines[322].startsWith("322\t" + added.channels[1].name + "\t32\t"));

    const QByteArray ram = sim::RamTable();
    ASSERT_EQ(Run({"save", "-i", Put("ram.bin", ram), "--ram", "-o", File("ram2.bin")}), 0);
    EXPECT_EQ(Contents("ram2.bin"), ram);
}

TEST_F(TableCommandsTest, UsageFaultsAndRefusedFilesExitWithTwo) {
    const QString in = Put("flash.bin", sim::FlashImage());
    EXPECT_EQ(Run({"save", "-i", in}), 2);
    EXPECT_EQ(Run({"export", "-i", in, "-o", File("x.txt")}), 2);  // no --format
    EXPECT_EQ(Run({"export", "-i", in, "--format", "csv", "-o", File("x.txt")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--grid", "rows", "-o", File("x.txt")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--ram", "--grid", "transponders", "-o", File("x.txt")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--tcs", "12345", "-o", File("x.bin")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--tcs", "200000", "-o", File("x.bin")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--ram", "--merge", in, "-o", File("x.bin")}), 2);
    EXPECT_EQ(Run({"save", "-i", in, "--extra", "-o", File("x.bin")}), 2);
    EXPECT_EQ(Run({"save", "-i", File("missing.bin"), "-o", File("x.bin")}), 2);
    EXPECT_EQ(
        Run({"save", "-i", Put("small.bin", sim::FlashImage().left(0x10000)), "-o", File("x.bin")}),
        2);
    EXPECT_TRUE(err.contains("¡ No se ha encontrado ninguna tabla de canales !"));
    EXPECT_EQ(Run({"save", "-i", in, "--merge", File("missing.bin"), "-o", File("x.bin")}), 2);
    EXPECT_FALSE(QFile::exists(File("x.bin")));
    EXPECT_FALSE(QFile::exists(File("x.txt")));
    EXPECT_EQ(Run({"save", "-i", in, "-o", File("no/folder/x.bin")}), 1);
    EXPECT_TRUE(err.contains("¡ No se ha podido guardar el archivo !")) << err.toStdString();
}

// `tables edit`: each OP as the page's buttons, keys, boxes and dialogs do it,
// in order, with a clipboard of the command's own.
TEST_F(TableCommandsTest, EditMovesCopiesPastesAndSetsChannels) {
    const QString in = Put("flash.bin", sim::FlashImage());
    ASSERT_EQ(
        Run({"edit", "-i", in, "-o", File("moved.txt"), "channels.move:5-9:7", "channels.copy:2-3",
             "channels.paste:1", "channels.cut:20", "channels.delete:1"}),
        0)
        << err.toStdString();
    // Moved: 10 and 11 at 5 and 6, the block at 7 to 11; then rows 2 and 3
    // pasted at 1 (all two down), 20 cut, 1 deleted (all one up).
    EXPECT_EQ(Line("moved.txt", 1).mid(0, 2), (QStringList{"1", "Fútbol Plus"}));
    EXPECT_EQ(Line("moved.txt", 2).mid(0, 2), (QStringList{"2", "Telé Música"}));
    EXPECT_EQ(Line("moved.txt", 6).mid(0, 2), (QStringList{"6", "Zoé Kids"}));
    EXPECT_EQ(Line("moved.txt", 8).mid(0, 2), (QStringList{"8", "Radio Señal"}));
    EXPECT_EQ(Line("moved.txt", 18).mid(1, 1), (QStringList{"Noticias"}));   // was 17
    EXPECT_EQ(Line("moved.txt", 19).mid(1, 1), (QStringList{"Mañana TV"}));  // 18 was cut

    ASSERT_EQ(
        Run({"edit", "-i", in, "-o", File("status.txt"), "channels.key:1-3:3", "channels.key:2:8",
             "channels.flag:4-5:active", "channels.flag:6:radio", "channels.encryption:7:7"}),
        0)
        << err.toStdString();
    // STA 07, 04, 04 become 67, 04 (key 8: code 0), 64; "Activo" shows row 4
    // (34) ticked, so it is cleared in 4 and 5 (24); "Radio" unticked is set.
    const QStringList sta{"67", "04", "64", "30", "20", "2C", "E4"};
    for (int r = 1; r <= 7; ++r) EXPECT_EQ(Line("status.txt", r)[9], sta[r - 1]) << r;

    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("set.txt"),
                   "channels.set:13:NOMBRE=Euro, sport: HD,TRSP=250,VPID=70000,APID=65535,"
                   "STA=a6,PCR=4x8"}),
              0)
        << err.toStdString();
    // The dialog's corrections: no transponder 250 of 100 rows, VPID above
    // 65535, letters dropped from a number.
    EXPECT_EQ(Line("set.txt", 13), (QStringList{"13", "Euro, sport: HD", "1", "1012", "65535",
                                                "65535", "1704", "1804", "48", "A6", "A"}));
}

TEST_F(TableCommandsTest, EditTransponderOpsKeepTheChannelsOnTheirTransponders) {
    const QByteArray image = sim::FlashImage();
    const QString in = Put("flash.bin", image);
    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("moved.txt"), "transponders.move:3:1"}), 0)
        << err.toStdString();
    EXPECT_EQ(Line("moved.txt", 1)[2], QStringLiteral("2"));   // Telé Música was on 1
    EXPECT_EQ(Line("moved.txt", 13)[2], QStringLiteral("3"));  // Eurosport 2 on 2
    EXPECT_EQ(Line("moved.txt", 23)[2], QStringLiteral("1"));  // Hogar & Jardín on 3
    EXPECT_EQ(Line("moved.txt", 321)[2], QStringLiteral("0"));

    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("deleted.txt"), "transponders.delete:2-3"}), 0);
    EXPECT_EQ(Line("deleted.txt", 11)[1], QStringLiteral("Müzik Türk"));
    EXPECT_EQ(Line("deleted.txt", 12)[1], QStringLiteral("Über Kino 2"));  // row 33, on 4
    EXPECT_EQ(Line("deleted.txt", 12)[2], QStringLiteral("2"));

    ASSERT_EQ(Run({"edit", "-i", in, "--grid", "transponders", "-o", File("set.txt"),
                   "transponders.set:1:FREC=1000000,POL=H,22KHz=Off,BANDA=C,SAT=C,CAN=300,"
                   "FEC=7/8,SR=22000,TRSP=123456,NET=7",
                   "transponders.copy:1-2", "transponders.paste:4"}),
              0)
        << err.toStdString();
    // LNB-low 9750: 1000000 is raised to 11.7 GHz; CAN above 255 is 255; the
    // transport stream id takes five digits and no more than 65535.
    EXPECT_EQ(Line("set.txt", 1), (QStringList{"1", "1950000", "12345", "7", "7/8", "H", "22000",
                                               "Off", "255", "C", "C"}));
    EXPECT_EQ(Line("set.txt", 4)[1], QStringLiteral("1950000"));
    EXPECT_EQ(Line("set.txt", 6)[1], QStringLiteral("1023000"));  // row 4 moved down two
    EXPECT_EQ(Line("set.txt", 6)[0], QStringLiteral("6"));

    // Swapping two satellites twice gives the same image back.
    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("swapped.bin"), "swap:1:2", "swap:1:2"}), 0);
    EXPECT_EQ(Contents("swapped.bin"), image);
    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("swapped.txt"), "swap:1:3"}), 0);
    EXPECT_EQ(Line("swapped.txt", 1)[10], QStringLiteral("C"));
}

TEST_F(TableCommandsTest, EditSaysHowManyChannelsLostTheirTransponder) {
    sim::FlashLayout layout;
    layout.transponders = sim::ManyTransponders(99);
    layout.channels = sim::ManyChannels(198, 99);
    const QString in = Put("full.bin", sim::FlashImage(layout));
    ASSERT_EQ(Run({"edit", "-i", in, "-o", File("pasted.txt"), "transponders.copy:1",
                   "transponders.paste:98"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.contains("Al pegar, 2 canales se han quedado sin transpondedor (TRSP 0)"))
        << err.toStdString();
    EXPECT_EQ(Line("pasted.txt", 196)[2], QStringLiteral("99"));
    EXPECT_EQ(Line("pasted.txt", 197)[2], QStringLiteral("0"));
    EXPECT_EQ(Line("pasted.txt", 198)[2], QStringLiteral("0"));
}

TEST_F(TableCommandsTest, EditRefusesWhatThePageWouldNotDoAndWritesNothing) {
    const QString in = Put("flash.bin", sim::FlashImage());
    const QString ram = Put("ram.bin", sim::RamTable());
    const QList<QStringList> refused{
        {"channels.paste:1"},                         // nothing copied
        {"transponders.copy:1", "channels.paste:1"},  // not channel rows
        {"channels.move:5-9"},                        // no row to move to
        {"channels.move:9-5:1"},                      // rows the wrong way round
        {"channels.delete:0"},
        {"channels.delete:1000"},     // 999 records
        {"transponders.delete:100"},  // 99 records
        {"channels.key:1:9"},
        {"channels.encryption:1:8"},
        {"channels.flag:1:bold"},
        {"channels.set:1:SAT=B"},  // not in the channel dialog
        {"channels.set:1:SIDD=4"},
        {"channels.set:1:STA=G1"},
        {"transponders.set:1:POL=X"},
        {"transponders.set:1:22KHz=on"},
        {"transponders.set:1:SAT=Astra"},
        {"transponders.key:1:3"},
        {"swap:1:1"},
        {"swap:1:5"},
        {"rows.delete:1"},
        {},  // no OP at all
    };
    for (const QStringList& ops : refused) {
        EXPECT_EQ(Run(QStringList{"edit", "-i", in, "-o", File("x.bin")} + ops), 2)
            << ops.join(' ').toStdString();
        EXPECT_FALSE(err.isEmpty());
    }
    EXPECT_EQ(Run({"edit", "-i", ram, "--ram", "-o", File("x.bin"), "transponders.delete:1"}), 2);
    EXPECT_TRUE(err.contains("a RAM table has no transponder table")) << err.toStdString();
    EXPECT_FALSE(QFile::exists(File("x.bin")));
    // A RAM table's channels are edited as ever.
    ASSERT_EQ(Run({"edit", "-i", ram, "--ram", "-o", File("ram.txt"), "channels.delete:1"}), 0);
    EXPECT_EQ(Line("ram.txt", 1)[1], QStringLiteral("Canal Acción"));
}

}  // namespace
}  // namespace velarix::cli
