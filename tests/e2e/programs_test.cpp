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

TEST(Programs, TheWindowPrintsItsTitle) {
    QProcess window;
    window.start(QStringLiteral(VELARIX_GUI), {"--version"});
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_EQ(window.exitCode(), 0);
    EXPECT_EQ(window.readAllStandardOutput(), QByteArray("Velarix v4.05\n"));
}

}  // namespace
}  // namespace velarix
