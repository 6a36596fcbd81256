#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "commands.h"
#include "jtag_commands.h"
#include "jtag_target.h"
#include "pc_parallel_port.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "test_files.h"
#include "trap_routine.h"

namespace velarix::cli {
namespace {

struct CliRun {
    QString out;
    QString err;
    int status;
};

// `velarix-cli` in process, with `--lpt sim` reaching the test's own
// simulated decoder, on a virtual clock.
struct JtagCliTest : ::testing::Test {
    QTemporaryDir settings;
    QTemporaryDir dir;
    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;

    JtagCliTest() { pc.AttachJtag(&target); }

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
        out.flush();
        err.flush();
        return run;
    }
    QString File(const QString& name) const { return dir.filePath(name); }
    QString Trap() { return test::PutFile(File("trap.bin"), sim::StandInTrapRoutine()); }
};

TEST_F(JtagCliTest, IdcodePrintsEachVariantsLines) {
    // Revision in bits 28-31, family 20 or 21 in bits 22-26, the variant in
    // bits 12-21, STMicroelectronics (041h) in bits 0-11.
    const struct {
        std::uint32_t revision, family, variant;
        const char* name;
    } cpus[] = {{1, 20, 0x193, "ST20-TP2"}, {2, 21, 0x198, "ST20-TP4"}, {2, 20, 0x0C9, "STi5500"},
                {3, 21, 0x1D9, "STi5500"},  {0, 20, 0x0CB, "STi5505"},  {1, 20, 0x002, "STi5508"},
                {2, 20, 0x0CD, "STi5510"},  {3, 21, 0x001, "STi5512"},  {0, 21, 0x006, "STi5512"},
                {1, 21, 0x007, "STi5512"},  {2, 21, 0x005, "STi5518"}};
    for (const auto& cpu : cpus) {
        const std::uint32_t code =
            cpu.revision << 28 | cpu.family << 22 | cpu.variant << 12 | 0x041;
        target.SetIdcode(code);
        const CliRun run = Run({"jtag", "idcode", "--lpt", "sim"});
        EXPECT_EQ(run.status, kDone);
        const QString id = QString::number(code, 16).toUpper().rightJustified(8, '0');
        EXPECT_EQ(run.out, QStringLiteral("Código de la CPU (IDCODE) : ") + id +
                               "\nFabricante : STMicroelectronics\nFamilia : ST20\nVariante : " +
                               cpu.name + "\nRevisión : " + QString::number(cpu.revision) + "\n")
            << run.out.toStdString();
    }
}

TEST_F(JtagCliTest, IdcodeFailsWhenNoCpuAnswers) {
    target.Faults().tdo = sim::JtagFaults::Tdo::StuckHigh;
    CliRun run = Run({"jtag", "idcode", "--lpt", "sim"});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(
        run.out.startsWith("Código de la CPU (IDCODE) : FFFFFFFF\n¡Código de CPU erroneo!"));
    target.Faults().tdo = sim::JtagFaults::Tdo::Driven;
    target.SetIdcode(0x00000041 | (22u << 22));
    run = Run({"jtag", "idcode", "--lpt", "sim"});
    EXPECT_EQ(run.status, kDone);
    EXPECT_TRUE(run.out.endsWith("Fabricante : STMicroelectronics\nFamilia : Desconocida\n"));
}

TEST_F(JtagCliTest, ReadWritesExactlyTheLengthAsked) {
    const CliRun run = Run({"jtag", "read", "--lpt", "sim", "--address", "7fe0 0010", "--length",
                            "22", "-o", File("f.bin")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(test::FileContents(File("f.bin")), decoder.Flash(0).Bytes().mid(0x10, 0x20));
    EXPECT_TRUE(run.err.contains("Recibiendo datos..."));
    EXPECT_TRUE(run.out.isEmpty());
}

TEST_F(JtagCliTest, ARangeTheDestinationDoesNotTakeFails) {
    const CliRun run = Run({"jtag", "read", "--lpt", "sim", "--address", "BFFFFFFC", "--length",
                            "98000", "--to", "picture", "-o", File("p.bmp")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains("¡ Dirección o longitud incorrecta !"));
    EXPECT_FALSE(QFile::exists(File("p.bmp")));
}

// A table read out is loaded as the page loads it and saved as "Guardar
// como..." would: the RAM table and chip 2's flash image come back byte for
// byte, and a text export holds one line per grid row.
TEST_F(JtagCliTest, TablesReadOutAreSavedAsTheTablesPageSavesThem) {
    CliRun run = Run({"jtag", "read", "--lpt", "sim", "--address", "401289A0", "--length", "7600",
                      "--to", "ram-table", "-o", File("ram.bin")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(test::FileContents(File("ram.bin")), decoder.Ram().mid(0x1289A0, 0x7600));

    // Chip 2's block table comes from the sample settings folder.
    for (const char* name : {"Velarix.ini", "AM29LV160DB.ini"}) {
        QFile::copy(QStringLiteral(VELARIX_SAMPLE_INIS "/") + name, settings.filePath(name));
    }
    run = Run({"jtag", "read", "--lpt", "sim", "--address", "60000000", "--length", "50000",
               "--to", "flash-table", "-o", File("flash.bin")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(test::FileContents(File("flash.bin")), decoder.Flash(1).Bytes().left(0x50000));

    run = Run({"jtag", "read", "--lpt", "sim", "--address", "60000000", "--length", "50000",
               "--to", "flash-table", "-o", File("flash.txt")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(test::FileContents(File("flash.txt")).count("\r\n"), 1000);
}

TEST_F(JtagCliTest, AFlashTableReadOutWithoutSectionsIsToldAndNothingIsSaved) {
    for (const char* name : {"Velarix.ini", "AM29LV160DB.ini"}) {
        QFile::copy(QStringLiteral(VELARIX_SAMPLE_INIS "/") + name, settings.filePath(name));
    }
    // The upper half of chip 2 holds no table.
    const CliRun run = Run({"jtag", "read", "--lpt", "sim", "--address", "60100000", "--length",
                            "50000", "--to", "flash-table", "-o", File("none.bin")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains("¡ No se ha encontrado ninguna tabla de canales !"))
        << run.err.toStdString();
    EXPECT_FALSE(QFile::exists(File("none.bin")));
}

TEST_F(JtagCliTest, ReadEepromPlacesTheBytesIntoTheImageGiven) {
    test::PutFile(File("in.bin"), QByteArray(2048, '\x11'));
    const CliRun run =
        Run({"jtag", "read-eeprom", "--lpt", "sim", "--trap", Trap(), "--address", "10", "--length",
             "20", "-i", File("in.bin"), "--format", "raw", "-o", File("out.bin")});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    const QByteArray out = test::FileContents(File("out.bin"));
    EXPECT_EQ(out, QByteArray(0x10, '\x11') + decoder.Eeprom().mid(0x10, 0x20) +
                       QByteArray(2048 - 0x30, '\x11'));
}

TEST_F(JtagCliTest, ATrapRoutineNamedOnTheCommandLineMustBeThereAndWhole) {
    CliRun run = Run({"jtag", "read-eeprom", "--lpt", "sim", "--trap", File("none.bin"),
                      "--address", "0", "--length", "800", "-o", File("out.txt")});
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains("No se ha encontrado el fichero trap.bin"));
    test::PutFile(File("short.bin"), sim::StandInTrapRoutine().left(600));
    run = Run({"jtag", "read-eeprom", "--lpt", "sim", "--trap", File("short.bin"), "--address", "0",
               "--length", "800", "-o", File("out.txt")});
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains("demasiado corto"));
    EXPECT_EQ(target.Controller().WritesServed(), 0);
    EXPECT_FALSE(QFile::exists(File("out.txt")));
}

TEST_F(JtagCliTest, WithoutTrapTheSettingsFolderIsLookedIn) {
    CliRun run = Run({"jtag", "read-eeprom", "--lpt", "sim", "--address", "0", "--length", "800",
                      "-o", File("out.txt")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains("No se ha encontrado el fichero trap.bin"));
    test::PutFile(settings.filePath("trap.bin"), sim::StandInTrapRoutine());
    run = Run({"jtag", "read-eeprom", "--lpt", "sim", "--address", "0", "--length", "800", "-o",
               File("out.txt"), "--format", "raw"});
    EXPECT_EQ(run.status, kDone) << run.err.toStdString();
    EXPECT_EQ(test::FileContents(File("out.txt")), decoder.Eeprom());
}

TEST_F(JtagCliTest, UsageFaults) {
    EXPECT_EQ(Run({"jtag", "read", "--lpt", "sim", "--length", "4", "-o", File("x")}).status,
              kBadUsage);
    EXPECT_EQ(Run({"jtag", "read", "--lpt", "sim", "--address", "0", "--length", "4", "-o",
                   File("x"), "--to", "screen"})
                  .status,
              kBadUsage);
    EXPECT_EQ(Run({"jtag", "read", "--lpt", "sim", "--address", "C00D0000", "--length", "98000",
                   "--to", "picture", "-o", File("x.png")})
                  .status,
              kBadUsage);
    EXPECT_EQ(Run({"jtag", "idcode", "--lpt", "sim", "extra"}).status, kBadUsage);
    EXPECT_EQ(Run({"jtag", "idcode", "--lpt"}).status, kBadUsage);
    // Not a port the command line knows: told as such, as the firmware
    // commands and the window tell it, before anything is opened.
    const CliRun run = Run({"jtag", "idcode", "--lpt", "lpt1"});
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains("--lpt takes 278, 378, 3BC, A068, 2000, /dev/parportN"));
}

TEST_F(JtagCliTest, APortThatCannotBeOpenedIsAFailure) {
    const CliRun run = Run({"jtag", "idcode", "--lpt", "unix:" + File("nowhere")});
    EXPECT_EQ(run.status, kFailed);
    EXPECT_TRUE(run.err.contains("No se ha podido abrir el puerto paralelo."));
}

}  // namespace
}  // namespace velarix::cli
