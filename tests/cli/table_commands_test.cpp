// tables export and tables save on files made by the simulator's own writer.
#include <gtest/gtest.h>

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
    int Run(QStringList args) {
        out.clear();
        err.clear();
        args = QStringList{"--settings", dir.filePath("INIs"), "tables"} + args;
        QTextStream o(&out), e(&err);
        CliContext context(args, o, e, clock);
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

}  // namespace
}  // namespace velarix::cli
