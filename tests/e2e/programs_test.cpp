#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

#include "simulated_decoder.h"

namespace velarix {
namespace {

// The installed programs themselves: `velarix-cli sim` serves a
// pseudo-terminal that `velarix-cli eeprom read` reads. The simulator answers
// at once, so this takes a few milliseconds of real time.
TEST(Programs, TheCommandLineReadsTheSimulatorItStarted) {
    QTemporaryDir settings;
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_CLI), {"--settings", settings.path(), "sim"});
    ASSERT_TRUE(simulator.waitForStarted());
    ASSERT_TRUE(simulator.waitForReadyRead(10000));
    const QString path = QString::fromLocal8Bit(simulator.readLine()).trimmed();
    ASSERT_TRUE(path.startsWith("/dev/"));

    QTemporaryDir dir;
    QProcess reader;
    reader.start(QStringLiteral(VELARIX_CLI), {"eeprom", "read", "-o", dir.filePath("e.bin"),
                                               "--format", "raw", "--port", path});
    ASSERT_TRUE(reader.waitForFinished(30000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    QFile file(dir.filePath("e.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), sim::DefaultEeprom());

    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(10000));
    EXPECT_EQ(simulator.exitCode(), 0);
}

// The sample tables the simulator writes, as a person tries them: the command
// line reads the flash image and saves it back byte for byte.
TEST(Programs, TheSimulatorsSampleTablesSaveBackUnchanged) {
    QTemporaryDir dir;
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_SIM), {"--save-tables", dir.path()});
    ASSERT_TRUE(simulator.waitForFinished(10000));
    ASSERT_EQ(simulator.exitCode(), 0) << simulator.readAllStandardError().toStdString();
    QProcess cli;
    cli.start(QStringLiteral(VELARIX_CLI),
              {"--settings", dir.filePath("INIs"), "tables", "save", "-i",
               dir.filePath("sample-flash.bin"), "-o", dir.filePath("copy.bin")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile sample(dir.filePath("sample-flash.bin")), copy(dir.filePath("copy.bin"));
    ASSERT_TRUE(sample.open(QIODevice::ReadOnly));
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(sample.size(), 0x80000);
    EXPECT_EQ(copy.readAll(), sample.readAll());
}

// The simulator serves its parallel port on the socket named on its second
// line; the command line uploads through both, and the fault knob given on
// the simulator's command line shows in the upload's log. The settings cut
// the pauses short, so this takes about a second.
TEST(Programs, TheCommandLineUploadsThroughTheSimulatorsSocket) {
    QTemporaryDir dir;
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_CLI), {"--settings", dir.path(), "sim", "--lpt-socket",
                                                  dir.filePath("lpt"), "--lpt-ack-low-at", "3"});
    ASSERT_TRUE(simulator.waitForStarted());
    QStringList lines;
    while (lines.size() < 2 && simulator.waitForReadyRead(10000)) {
        while (simulator.canReadLine())
            lines << QString::fromLocal8Bit(simulator.readLine()).trimmed();
    }
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[1], dir.filePath("lpt"));

    QFile ini(dir.filePath("Velarix.ini"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        "[TForm1]\r\nRetardoComienzo=200\r\nRetardoVerificacion=200\r\n"
        "RetardoApertura1=50\r\nRetardoApertura2=50\r\n");
    ini.close();
    QFile image(dir.filePath("fw.bin"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(QByteArray(64, '\x5A'));
    image.close();
    QProcess upload;
    upload.start(QStringLiteral(VELARIX_CLI),
                 {"--settings", dir.path(), "firmware", "upload", "-i", image.fileName(),
                  "--address", "7FE00000", "--port", lines[0], "--lpt", "unix:" + lines[1]});
    ASSERT_TRUE(upload.waitForFinished(60000));
    const QString err = QString::fromUtf8(upload.readAllStandardError());
    EXPECT_EQ(upload.exitCode(), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(QStringLiteral("Error en la posición 3.")));
    EXPECT_TRUE(err.contains(QStringLiteral("¡ Actualización completada con éxito !")));

    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(10000));
    EXPECT_FALSE(QFile::exists(dir.filePath("lpt")));  // the socket goes with it
}

TEST(Programs, TheWindowPrintsItsTitle) {
    QProcess window;
    window.start(QStringLiteral(VELARIX_GUI), {"--version"});
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_EQ(window.exitCode(), 0);
    EXPECT_EQ(window.readAllStandardOutput(), QByteArray("Velarix v4.05\n"));
}

}  // namespace
}  // namespace velarix

namespace velarix {
namespace {

// The same decoder reached through velarix-sim's socket over the JTAG cable:
// 4 KiB of chip 1 read out are the chip's bytes, as a decoder of the
// simulator's own making holds them.
TEST(Programs, TheCommandLineReadsTheFlashThroughTheSimulatorsSocket) {
    QTemporaryDir dir;
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_SIM), {"--lpt-socket", dir.filePath("lpt")});
    ASSERT_TRUE(simulator.waitForStarted());
    QStringList lines;
    while (lines.size() < 2 && simulator.waitForReadyRead(10000)) {
        while (simulator.canReadLine())
            lines << QString::fromLocal8Bit(simulator.readLine()).trimmed();
    }
    ASSERT_EQ(lines.size(), 2);
    QProcess read;
    read.start(QStringLiteral(VELARIX_CLI),
               {"--settings", dir.filePath("INIs"), "jtag", "read", "--lpt", "unix:" + lines[1],
                "--address", "7FE00000", "--length", "1000", "-o", dir.filePath("chip1.bin")});
    ASSERT_TRUE(read.waitForFinished(60000));
    EXPECT_EQ(read.exitCode(), 0) << read.readAllStandardError().toStdString();
    QFile file(dir.filePath("chip1.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    sim::SimulatedDecoder decoder;
    EXPECT_EQ(file.readAll(), decoder.Flash(0).Bytes().left(0x1000));
    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(10000));
}

}  // namespace
}  // namespace velarix
