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

TEST(Programs, TheWindowPrintsItsTitle) {
    QProcess window;
    window.start(QStringLiteral(VELARIX_GUI), {"--version"});
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_EQ(window.exitCode(), 0);
    EXPECT_EQ(window.readAllStandardOutput(), QByteArray("Velarix v4.05\n"));
}

}  // namespace
}  // namespace velarix
