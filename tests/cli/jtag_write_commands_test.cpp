#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "commands.h"
#include "jtag_target.h"
#include "pc_parallel_port.h"
#include "shell/message_table.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "test_files.h"
#include "trap_routine.h"

namespace velarix::cli {
namespace {

using test::FileContents;
using test::PutFile;

struct CliRun {
    QString out;
    QString err;
    int status;
};

// `velarix-cli` in process over one simulated decoder that lives across the
// commands, so that one command finds what the last one left in its flash.
// The settings folder holds the shipped sample settings: chips 1 and 2 are
// 16-Mbit bottom-boot chips at 7FE00000h and 60000000h, as in the simulator.
struct JtagWriteCliTest : ::testing::Test {
    QTemporaryDir settings;
    QTemporaryDir dir;
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    QString trap = PutFile(dir.filePath("trap.bin"), sim::StandInTrapRoutine());

    JtagWriteCliTest() {
        pc.AttachJtag(&target);
        for (const char* name : {"Velarix.ini", "AM29LV160DB.ini"}) {
            QFile::copy(QStringLiteral(VELARIX_SAMPLE_INIS "/") + name, settings.filePath(name));
        }
    }
    CliRun Run(QStringList args) {
        args = QStringList{"--settings", settings.path()} + args;
        CliRun run;
        QTextStream out(&run.out), err(&run.err);
        VirtualClock clock;
        CliContext context(args, out, err, clock);
        context.simParallelPort = [this] {
            return std::unique_ptr<ParallelPort>(std::make_unique<SimParallelPort>(pc));
        };
        run.status = RunCommand(context);
        return run;
    }
    CliRun Write(const QString& address, const QString& file, QStringList more = {}) {
        return Run(QStringList{"jtag", "write", "--lpt", "sim", "--trap", trap, "--address",
                               address, "-i", file} +
                   more);
    }
    QString File(const QString& name) const { return dir.filePath(name); }
    QStringList Backups() const {
        return QDir(settings.filePath("backups")).entryList(QDir::Files, QDir::Name);
    }
    QByteArray Chip1() { return decoder.Flash(0).Bytes(); }
};

// A firmware of 1 MiB whose bytes differ from the simulator's own.
QByteArray Firmware() {
    QByteArray bytes(0x100000, '\0');
    std::uint32_t x = 12345;
    for (char& b : bytes) {
        x = x * 1103515245u + 12345u;
        b = char(x >> 16);
    }
    return bytes;
}

// The blocks of the first MiB of the chip: 16K, 8K, 8K, 32K, then 15 of 64K.
constexpr int kBlocksInFirstMiB = 19;

TEST_F(JtagWriteCliTest, AFirmwareGoesInOnceAfterwardsOnlyTheBlockThatChanges) {
    const QByteArray firmware = Firmware();
    const QByteArray before = Chip1();
    PutFile(File("fw.bin"), firmware);

    // Into the simulator's chip 1: the flash equals the file.
    CliRun run = Write("7FE00000", File("fw.bin"));
    ASSERT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(Chip1().left(0x100000), firmware);
    EXPECT_EQ(Chip1().mid(0x100000), before.mid(0x100000));
    EXPECT_EQ(run.err.count("Borrando bloque : "), kBlocksInFirstMiB);
    EXPECT_TRUE(
        run.err.endsWith("¡ Datos enviados con éxito !\n¡ Datos enviados con éxito !\n"
                         "Cerrando LPT1\n"));
    ASSERT_EQ(Backups().size(), 1);
    EXPECT_EQ(FileContents(settings.filePath("backups/" + Backups()[0])), before.left(0x100000));

    // Again: every block is found identical, nothing is erased or backed up.
    run = Write("7FE00000", File("fw.bin"));
    ASSERT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(run.err.count("Los datos en la flash son identicos. Saltamos al siguiente bloque..."),
              kBlocksInFirstMiB);
    EXPECT_FALSE(run.err.contains("Borrando bloque"));
    EXPECT_EQ(Backups().size(), 1);

    // One byte changed: its block alone is erased and programmed, and the
    // backup holds that block as it was.
    QByteArray changed = firmware;
    changed[0x54321] = char(~changed[0x54321]);
    PutFile(File("fw2.bin"), changed);
    run = Write("7FE00000", File("fw2.bin"));
    ASSERT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(run.err.count("Borrando bloque : "), 1);
    EXPECT_TRUE(run.err.contains("Borrando bloque : 7FE50000"));
    EXPECT_EQ(run.err.count("Enviando datos a la dirección : 7FE50000"), 2);
    EXPECT_EQ(Chip1().left(0x100000), changed);
    ASSERT_EQ(Backups().size(), 2);
    const QString backup =
        Backups()[1].endsWith("chip1-7FE50000.bin") ? Backups()[1] : Backups()[0];
    EXPECT_TRUE(backup.endsWith("-chip1-7FE50000.bin")) << backup.toStdString();
    EXPECT_EQ(FileContents(settings.filePath("backups/" + backup)), firmware.mid(0x50000, 0x10000));
    EXPECT_TRUE(run.err.contains(Msg(423) +
                                 QDir::toNativeSeparators(settings.filePath("backups/" + backup))));

    // A dry run reads and compares: one block would change by one byte.
    QByteArray third = changed;
    third[0x80000] = char(~third[0x80000]);
    PutFile(File("fw3.bin"), third);
    const QByteArray flashBefore = Chip1();
    run = Write("7FE00000", File("fw3.bin"), {"--dry-run"});
    ASSERT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(Chip1(), flashBefore);
    EXPECT_EQ(Backups().size(), 2);
    const QStringList lines = run.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), kBlocksInFirstMiB);
    EXPECT_EQ(lines[0], QStringLiteral("7FE00000-7FE03FFF : se saltaría: los datos son idénticos"));
    EXPECT_EQ(lines.filter("se saltaría").size(), kBlocksInFirstMiB - 1);
    EXPECT_TRUE(lines.contains(
        QStringLiteral("7FE80000-7FE8FFFF : se borraría y programaría; bytes que cambian : 1")));
    EXPECT_FALSE(run.err.contains("Borrando"));
    EXPECT_FALSE(run.err.contains("¡ Datos enviados con éxito !"));

    // The backup written back at its address restores the block.
    run = Write("7FE50000", settings.filePath("backups/" + backup));
    ASSERT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(Chip1().left(0x100000), firmware);
}

TEST_F(JtagWriteCliTest, TheOptionsSetThePagesChoicesForThisRun) {
    PutFile(File("small.bin"), decoder.Flash(0).Bytes().left(0x4000));
    // --force: the identical block is erased all the same.
    CliRun run = Write("7FE00000", File("small.bin"), {"--force", "--no-verify"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Borrando bloque : 7FE00000"));
    EXPECT_FALSE(run.err.contains("Comprobando"));
    EXPECT_FALSE(run.err.contains("Verificando"));
    // --add-checksum: the table goes in at the position, the checksums are logged.
    PutFile(File("zeros.bin"), QByteArray(0x150, '\0'));
    run = Write("7FE00000", File("zeros.bin"), {"--add-checksum", "100"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(Chip1().mid(0x100, 8), QByteArray::fromHex("7EC77234DEAB7E4E"));
    EXPECT_TRUE(run.err.contains("\n7EC77234\nDEAB7E4E\n"));
    // None of it was saved in the settings.
    const CliRun plain = Write("7FE00000", File("zeros.bin"));
    EXPECT_EQ(plain.status, kDone);
    EXPECT_EQ(Chip1().left(0x150), QByteArray(0x150, '\0'));
}

TEST_F(JtagWriteCliTest, AFailingBlockIsAnsweredByOnError) {
    target.Faults().stuckFlashAt = 0x7FE04000;
    PutFile(File("fw.bin"), Firmware().left(0x8000));
    const QString question =
        "Error en el envio por Jtag.\nComprueba que el Interfaz Jtag esté bien "
        "construido\ny que las direcciones Trap y destino son las correctas.";
    // Without the option: Abort.
    CliRun run = Write("7FE00000", File("fw.bin"));
    EXPECT_EQ(run.status, kFailed);
    EXPECT_EQ(run.err.count(question), 1);
    EXPECT_TRUE(run.err.contains("Se ha producido un error en la dirección : 7FE04000"));
    // Ignore: on to the next block, and the end names the block not written.
    run = Write("7FE00000", File("fw.bin"), {"--on-error", "ignore"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains(Msg(420) + "7FE04000"));
    EXPECT_FALSE(run.err.contains("¡ Datos enviados con éxito !"));
    EXPECT_EQ(Chip1().mid(0x6000, 0x2000), Firmware().mid(0x6000, 0x2000));
    // Retry: a few times, then Abort.
    run = Write("7FE00000", File("fw.bin"), {"--on-error", "retry"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_EQ(run.err.count(question), 4);
}

TEST_F(JtagWriteCliTest, WriteEepromSendsTheRangeOfTheFile) {
    QByteArray image(2048, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = char(i * 5);
    PutFile(File("e.bin"), image);
    const QByteArray before = decoder.Eeprom();
    CliRun run = Run({"jtag", "write-eeprom", "--lpt", "sim", "--trap", trap, "--address", "100",
                      "--length", "80", "-i", File("e.bin"), "--format", "raw"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(decoder.Eeprom(), before.left(0x100) + image.mid(0x100, 0x80) + before.mid(0x180));
    EXPECT_TRUE(run.err.contains("¡ Eeprom escrita con éxito !"));
    run = Run({"jtag", "write-eeprom", "--lpt", "sim", "--trap", trap, "--address", "0", "--length",
               "800", "-i", File("e.bin"), "--format", "raw"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(decoder.Eeprom(), image);
    run = Run({"jtag", "write-eeprom", "--lpt", "sim", "--trap", trap, "--address", "7F0",
               "--length", "20", "-i", File("e.bin"), "--format", "raw"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains("¡ Dirección incorrecta !"));
}

TEST_F(JtagWriteCliTest, EraseNeedsYesAndAChipStart) {
    const QByteArray before = Chip1();
    CliRun run = Run({"jtag", "erase", "--lpt", "sim", "--trap", trap, "--address", "7FE00000"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.startsWith("¡ A T E N C I Ó N !\n\n"));
    EXPECT_FALSE(run.err.contains("Abriendo LPT1"));
    run = Run({"jtag", "erase", "--lpt", "sim", "--trap", trap, "--address", "7FE10000", "--yes"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains(Msg(422)));
    EXPECT_EQ(Chip1(), before);
    EXPECT_TRUE(target.Controller().Routine().carried.empty());
}

TEST_F(JtagWriteCliTest, EraseByBlocksWithASmallTable) {
    // A flash type of the test's own: two blocks, 16K and 8K.
    PutFile(
        settings.filePath("TINY.ini"),
        "[TINY]\r\nNumBlocks=2\r\nErasureMode=48\r\nblock0=0\r\nblock1=4000\r\nblock2=6000\r\n");
    PutFile(settings.filePath("Velarix.ini"),
            "[TForm1]\r\nFlashIC0=TINY\r\nFlash1Start=7FE00000\r\nFlash1Type=0\r\n");
    const QByteArray before = Chip1();
    const CliRun run = Run({"jtag", "erase", "--lpt", "sim", "--trap", trap, "--address",
                            "7FE00000", "--yes", "--by-blocks"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(run.err.count("¡ Bloque borrado con éxito !"), 2);
    EXPECT_EQ(Chip1().left(0x6000), QByteArray(0x6000, '\xFF'));
    EXPECT_EQ(Chip1().mid(0x6000), before.mid(0x6000));
    ASSERT_EQ(Backups().size(), 1);
    EXPECT_EQ(FileContents(settings.filePath("backups/" + Backups()[0])), before.left(0x6000));
}

TEST_F(JtagWriteCliTest, ChecksumPrintsTheTwentyChecksumsAndStampsTheFile) {
    PutFile(File("ff.bin"), QByteArray(0x140000, '\xFF'));
    CliRun run = Run({"checksum", "-i", File("ff.bin"), "-o", File("stamped.bin")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(run.out, QString("DEAB7E4E\n").repeated(19) + "632C64AE\n");
    EXPECT_TRUE(run.err.isEmpty());
    const QByteArray stamped = FileContents(File("stamped.bin"));
    EXPECT_EQ(stamped.size(), 0x140000);
    EXPECT_EQ(stamped.mid(0x13FC00, 8), QByteArray::fromHex("DEAB7E4EDEAB7E4E"));
    EXPECT_EQ(stamped.mid(0x13FC4C, 4), QByteArray::fromHex("632C64AE"));

    // Short: the missing bytes count as FF; a table past the end leaves the
    // image as it is.
    PutFile(File("short.bin"), QByteArray(0x150, '\0'));
    run = Run({"checksum", "-i", File("short.bin"), "-o", File("same.bin")});
    EXPECT_EQ(run.status, kFailed);  // nothing stamped
    EXPECT_TRUE(run.out.startsWith("7EC77234\nDEAB7E4E\n"));
    EXPECT_EQ(run.err, Msg(421) + "\n" + Msg(426) + "\n");
    EXPECT_EQ(FileContents(File("same.bin")), QByteArray(0x150, '\0'));
    run = Run({"checksum", "-i", File("short.bin"), "--position", "100", "-o", File("p.bin")});
    EXPECT_EQ(run.status, kDone);
    EXPECT_EQ(FileContents(File("p.bin")).mid(0x100, 4), QByteArray::fromHex("7EC77234"));

    EXPECT_EQ(Run({"checksum", "-i", File("none.bin")}).status, kBadUsage);
    EXPECT_EQ(Run({"checksum", "-i", File("ff.bin"), "--position", "XYZ"}).status, kBadUsage);
}

TEST_F(JtagWriteCliTest, UsageFaultsAndUnreadableFiles) {
    EXPECT_EQ(Run({"jtag", "write", "--lpt", "sim", "-i", File("x")}).status, kBadUsage);
    PutFile(File("x"), "abc");
    EXPECT_EQ(Write("7FE00000", File("x"), {"--on-error", "maybe"}).status, kBadUsage);
    EXPECT_EQ(Write("7FE00000", File("x"), {"--add-checksum", "13FC00X"}).status, kBadUsage);
    const CliRun missing = Write("7FE00000", File("missing.bin"));
    EXPECT_EQ(missing.status, kBadUsage);
    EXPECT_TRUE(missing.err.startsWith(Msg(200)));
    EXPECT_EQ(Run({"jtag", "erase", "--lpt", "sim"}).status, kBadUsage);
    EXPECT_EQ(Run({"jtag", "write-eeprom", "--lpt", "sim", "--address", "0"}).status, kBadUsage);
    EXPECT_TRUE(target.Controller().history.empty());
}

}  // namespace
}  // namespace velarix::cli
