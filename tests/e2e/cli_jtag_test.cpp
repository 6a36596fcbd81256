#include <gtest/gtest.h>

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

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

}  // namespace
}  // namespace velarix
