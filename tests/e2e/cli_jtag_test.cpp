#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include "sample_contents.h"
#include "simulated_decoder.h"

namespace velarix {
namespace {

struct Ran {
    int status;
    QByteArray out;
    QByteArray err;
};

Ran RunCli(const QStringList& args) {
    static QTemporaryDir settings;
    QProcess cli;
    cli.start(QStringLiteral(VELARIX_CLI), QStringList{"--settings", settings.path()} + args);
    if (!cli.waitForFinished(60000)) return {-1, {}, {}};
    return {cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
}

QByteArray Contents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The program itself over its built-in simulated decoder: the real clock,
// the real spin loop, the whole JTAG path from the command to the TCK edges.
TEST(CliJtag, Reads64KiBOfTheSimulatorsFlash) {
    QTemporaryDir dir;
    const QString out = dir.filePath("flash.bin");
    const Ran ran = RunCli(
        {"jtag", "read", "--lpt", "sim", "--address", "7FE00000", "--length", "10000", "-o", out});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    sim::SimulatedDecoder decoder;
    EXPECT_EQ(Contents(out), decoder.Flash(0).Bytes().left(0x10000));
}

TEST(CliJtag, IdentifiesTheSimulatorsCpu) {
    const Ran ran = RunCli({"jtag", "idcode", "--lpt", "sim"});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(ran.out),
              QStringLiteral("Código de la CPU (IDCODE) : 2D0C9041\nFabricante : "
                             "STMicroelectronics\nFamilia : ST20\nVariante : STi5500\nRevisión : "
                             "2\n"));
}

TEST(CliJtag, ReadsTheEepromThroughTheStandInTrapRoutine) {
    QTemporaryDir dir;
    const QString trap = dir.filePath("trap.bin");
    ASSERT_EQ(RunCli({"sim", "--save-trap", trap}).status, 0);
    EXPECT_EQ(Contents(trap).size(), 696);
    const QString out = dir.filePath("eeprom.bin");
    const Ran ran = RunCli({"jtag", "read-eeprom", "--lpt", "sim", "--trap", trap, "--address", "0",
                            "--length", "800", "--format", "raw", "-o", out});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_EQ(Contents(out), sim::DefaultEeprom());
}

// The program itself writing flash over its built-in decoder, with the
// shipped sample settings: a dry run of what the decoder already holds skips
// every block; a changed block is written, backed up and reported.
TEST(CliJtag, WritesFlashAndDryRunsOverTheBuiltInDecoder) {
    QTemporaryDir settings, dir;
    for (const char* name : {"Velarix.ini", "AM29LV160DB.ini"})
        QFile::copy(QStringLiteral(VELARIX_SAMPLE_INIS "/") + name, settings.filePath(name));
    const QString trap = dir.filePath("trap.bin");
    ASSERT_EQ(RunCli({"sim", "--save-trap", trap}).status, 0);
    auto run = [&](const QStringList& args) {
        QProcess cli;
        cli.start(QStringLiteral(VELARIX_CLI), QStringList{"--settings", settings.path()} + args);
        if (!cli.waitForFinished(120000)) return Ran{-1, {}, {}};
        return Ran{cli.exitCode(), cli.readAllStandardOutput(), cli.readAllStandardError()};
    };
    QByteArray firmware = sim::SampleFirmware(0x200000).left(0x10000);
    QFile same(dir.filePath("same.bin"));
    ASSERT_TRUE(same.open(QIODevice::WriteOnly));
    same.write(firmware);
    same.close();
    Ran ran = run({"jtag", "write", "--lpt", "sim", "--trap", trap, "--address", "7FE00000", "-i",
                   same.fileName(), "--dry-run"});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_EQ(ran.out, QByteArray("7FE00000-7FE03FFF : se saltaría: los datos son idénticos\n"
                                  "7FE04000-7FE05FFF : se saltaría: los datos son idénticos\n"
                                  "7FE06000-7FE07FFF : se saltaría: los datos son idénticos\n"
                                  "7FE08000-7FE0FFFF : se saltaría: los datos son idénticos\n"));

    firmware[0x5000] = char(~firmware[0x5000]);
    QFile changed(dir.filePath("changed.bin"));
    ASSERT_TRUE(changed.open(QIODevice::WriteOnly));
    changed.write(firmware);
    changed.close();
    ran = run({"jtag", "write", "--lpt", "sim", "--trap", trap, "--address", "7FE00000", "-i",
               changed.fileName()});
    ASSERT_EQ(ran.status, 0) << ran.err.toStdString();
    EXPECT_EQ(ran.err.count("Borrando bloque : 7FE04000"), 1);
    EXPECT_EQ(ran.err.count("Borrando bloque"), 1);
    EXPECT_TRUE(ran.err.contains("¡ Datos enviados con éxito !"));
    const QStringList backups = QDir(settings.filePath("backups")).entryList(QDir::Files);
    ASSERT_EQ(backups.size(), 1);
    EXPECT_TRUE(backups[0].endsWith("-chip1-7FE04000.bin"));
}

}  // namespace
}  // namespace velarix
