#include <gtest/gtest.h>

#include <cstring>

#include <QFile>
#include <QTemporaryDir>

#include "commands.h"
#include "firmware_commands.h"
#include "port_model_server.h"
#include "sample_tables.h"
#include "shell/message_table.h"
#include "virtual_scheduler.h"
#include "wired_decoder.h"

namespace velarix {
namespace {

// velarix-cli's firmware commands, run in this process against a simulated
// decoder: its service port on a real pseudo-terminal, its parallel port in
// process (`--lpt sim`) or on a Unix socket served from another thread
// (`--lpt unix:`). Every wait is on a virtual clock.
struct CliFirmwareTest : ::testing::Test {
    VirtualClock clock;
    sim::WiredDecoder rig{test::VirtualScheduler(clock)};
    QTemporaryDir dir;
    QString out, err;
    bool showProgress = false;  // as on a terminal

    void SetUp() override {
        if (!rig.servicePort.IsOpen())
            GTEST_SKIP() << "no pseudo-terminal on this machine: "
                         << rig.servicePort.ErrorText().toStdString();
        cli::BuiltInSimulator() = [this] { return &rig; };
    }
    void TearDown() override { cli::BuiltInSimulator() = nullptr; }

    int Run(QStringList args) {
        out.clear();
        err.clear();
        args << "--settings" << dir.filePath("INIs");
        QTextStream outStream(&out), errStream(&err);
        cli::CliContext context(args, outStream, errStream, clock);
        context.showProgress = showProgress;
        const int status = cli::RunCommand(context);
        outStream.flush();
        errStream.flush();
        return status;
    }
    // An upload through the built-in simulator's cables: the test's rig.
    int Upload(const QByteArray& image, QStringList more = {}) {
        return Run(QStringList{"firmware", "upload", "-i", Put(image), "--address", "7FE00000",
                               "--lpt", "sim"} +
                   more);
    }
    QString Put(const QByteArray& bytes) {
        const QString path = dir.filePath("firmware.bin");
        QFile file(path);
        if (file.open(QIODevice::WriteOnly)) file.write(bytes);
        return path;
    }
    static QByteArray Image(int size, int seed = 0) {
        QByteArray image(size, '\0');
        for (int i = 0; i < size; ++i) image[i] = static_cast<char>((i * 31 + seed) ^ (i >> 9));
        return image;
    }
    QByteArray Flash1(int size) { return rig.decoder.Flash(0).Bytes().left(size); }
};

TEST_F(CliFirmwareTest, Uploads64KiBOverThePseudoTerminalAndThePortModelSocket) {
    sim::PortModelServer server(rig.pcPort, rig.parallelLock);
    QString error;
    ASSERT_TRUE(server.Listen(dir.filePath("lpt"), &error)) << error.toStdString();
    const QByteArray image = Image(0x10000);
    ASSERT_EQ(Run({"firmware", "upload", "-i", Put(image), "--address", "7FE00000", "--port",
                   rig.servicePort.Path(), "--lpt", "unix:" + server.Path()}),
              0)
        << err.toStdString();
    EXPECT_EQ(rig.loader.Received(), image);  // every byte once, in order
    EXPECT_EQ(Flash1(image.size()), image);
    EXPECT_TRUE(err.contains(Msg(71) + ": unix:" + server.Path()));
    EXPECT_TRUE(err.contains("%DL?C8"));
    EXPECT_TRUE(err.contains(Msg(41)));
    EXPECT_FALSE(err.contains(Msg(33)));
}

TEST_F(CliFirmwareTest, Uploads64KiBOverTheBuiltInSimulatorOnBothCables) {
    const QByteArray image = Image(0x10000, 5);
    ASSERT_EQ(Upload(image), 0) << err.toStdString();
    EXPECT_EQ(rig.loader.Received(), image);
    EXPECT_EQ(Flash1(image.size()), image);
    EXPECT_TRUE(err.contains(Msg(38)));  // DL waits for the decoder's report
    EXPECT_TRUE(err.endsWith(Msg(41) + "\n"));
}

TEST_F(CliFirmwareTest, TheAddressItemSetsCommandAndPhasesAndTheFlagsOverrideThem) {
    ASSERT_EQ(
        Run({"firmware", "upload", "-i", Put(Image(64)), "--address", "fff82000", "--lpt", "sim"}),
        0)
        << err.toStdString();
    EXPECT_TRUE(err.startsWith("%PL=FFF82000"));
    EXPECT_FALSE(err.contains(Msg(38)));  // PL: no phases 1 and 2
    EXPECT_TRUE(err.contains("%PL?DC"));
    ASSERT_EQ(Run({"firmware", "upload", "-i", Put(Image(64)), "--address", "60000000", "--command",
                   "DL", "--phase12", "--lpt", "sim"}),
              0)
        << err.toStdString();
    EXPECT_TRUE(err.startsWith("%DL=60000000"));
    EXPECT_TRUE(err.contains(Msg(38)));
    EXPECT_EQ(rig.decoder.Flash(1).Bytes().left(64), Image(64));
}

TEST_F(CliFirmwareTest, TheProgressLineShowsTheAddressReachedWithItsCount) {
    showProgress = true;
    ASSERT_EQ(Upload(Image(30000), {"--progress"}), 0) << err.toStdString();
    // Drawn every 12287 bytes: 7FE00000 + 12287 = 7FE02FFF, + 24574 = 7FE05FFE.
    EXPECT_TRUE(err.contains("7FE02FFF 12287/30000")) << err.toStdString();
    EXPECT_TRUE(err.contains("7FE05FFE 24574/30000")) << err.toStdString();
    EXPECT_FALSE(err.contains("7FE00000 12287/30000"));
    EXPECT_FALSE(err.contains("7FE02FFF 24574/30000"));
}

TEST_F(CliFirmwareTest, ARefusedLoadEndsWithItsBoxAndExitOne) {
    rig.loader.SetRefuseLoads(true);
    EXPECT_EQ(Upload(Image(64)), 1);
    EXPECT_TRUE(err.contains(Msg(40)));
    EXPECT_FALSE(err.contains(Msg(29)));  // the port was never opened
}

TEST_F(CliFirmwareTest, ARefusedNegotiationStillSendsTheImage) {
    rig.peripheral.faults.refuseNegotiation = true;
    const QByteArray image = Image(256);
    EXPECT_EQ(Upload(image), 0) << err.toStdString();
    EXPECT_EQ(err.count(Msg(1)), 2);
    EXPECT_TRUE(err.contains(Msg(28) + "ERROR"));
    EXPECT_TRUE(err.contains(Msg(37)));
    EXPECT_EQ(rig.loader.Received(), image);
}

TEST_F(CliFirmwareTest, SelectHighInPhaseSixIsToldAndTheImageStillGoes) {
    rig.peripheral.faults.selectHighInPhase6 = true;
    EXPECT_EQ(Upload(Image(256)), 0) << err.toStdString();
    EXPECT_TRUE(err.contains(Msg(3)));
    EXPECT_EQ(rig.loader.Received(), Image(256));
}

TEST_F(CliFirmwareTest, AnAcknowledgeStuckLowFailsEveryByteAndEndsAfterOneHundred) {
    rig.peripheral.faults.ackStuckLow = true;
    EXPECT_EQ(Upload(Image(256)), 1);
    EXPECT_TRUE(err.contains(Msg(2)));
    EXPECT_EQ(err.count(Msg(33) + "0" + Msg(34)), 100);
    EXPECT_FALSE(err.contains("%DL?"));
}

TEST_F(CliFirmwareTest, BusyStuckAtAByteEndsAfterOneHundredTimeOutsThere) {
    rig.peripheral.faults.busyStuckAt = 100;
    EXPECT_EQ(Upload(Image(256)), 1);
    EXPECT_EQ(err.count(Msg(33) + "100" + Msg(34)), 100);
    EXPECT_EQ(rig.loader.Received(), Image(100));
}

TEST_F(CliFirmwareTest, AnAcknowledgeMissedOnceIsRecoveredAndTheUploadSucceeds) {
    rig.peripheral.faults.ackLowAt = 77;
    const QByteArray image = Image(256);
    EXPECT_EQ(Upload(image), 0) << err.toStdString();
    EXPECT_EQ(err.count(Msg(33)), 1);
    EXPECT_TRUE(err.contains(Msg(33) + "77" + Msg(34)));
    EXPECT_EQ(rig.loader.Received(), image);
}

TEST_F(CliFirmwareTest, PaperEndStuckHighFailsTheRecoveryOfAMissedAcknowledge) {
    rig.peripheral.faults.paperEndStuckHigh = true;
    rig.peripheral.faults.ackLowAt = 10;
    EXPECT_EQ(Upload(Image(256)), 1);
    EXPECT_TRUE(err.contains(Msg(35)));
    EXPECT_FALSE(err.contains("%DL?"));
}

TEST_F(CliFirmwareTest, AWrongSumIsReportedByTheDecoder) {
    rig.loader.SetWrongSum(true);
    EXPECT_EQ(Upload(Image(256)), 1);
    EXPECT_TRUE(err.contains(Msg(42)));
}

TEST_F(CliFirmwareTest, CheckLptGivesTheDecodersVerdict) {
    EXPECT_EQ(Run({"firmware", "check-lpt", "--lpt", "sim"}), 0) << err.toStdString();
    EXPECT_EQ(err, "%PR?C2\n$.C0\n" + Msg(381) + "\n");
    rig.peripheral.faults.paperEndStuckHigh = true;
    EXPECT_EQ(Run({"firmware", "check-lpt", "--port", rig.servicePort.Path()}), 1);
    EXPECT_TRUE(err.contains(Msg(380)));
}

TEST_F(CliFirmwareTest, BadUsageAndUnreadableFilesExitWithTwoAndSendNothing) {
    EXPECT_EQ(Run({"firmware", "upload", "--address", "7FE00000", "--lpt", "sim"}), 2);
    EXPECT_EQ(Run({"firmware", "upload", "-i", Put("x"), "--lpt", "sim"}), 2);
    EXPECT_EQ(Run({"firmware", "upload", "-i", Put("x"), "--address", "7FE00000", "--lpt", "379"}),
              2);
    EXPECT_TRUE(err.contains("--lpt takes"));
    EXPECT_EQ(Run({"firmware", "upload", "-i", Put("x"), "--address", "7FE00000", "--command", "XL",
                   "--lpt", "sim"}),
              2);
    EXPECT_EQ(Run({"firmware", "upload", "-i", dir.filePath("missing.bin"), "--address", "7FE00000",
                   "--lpt", "sim"}),
              2);
    EXPECT_TRUE(err.contains(dir.filePath("missing.bin")));
    EXPECT_EQ(
        Run({"firmware", "upload", "--table", Put("x"), "--address", "7FE00000", "--lpt", "sim"}),
        2);
    EXPECT_EQ(rig.service.LinesHandled(), 0);
}

// "Tabla canales FLASH": the table file is loaded, rebuilt (here unchanged:
// its sections stay at their blocks) and sent into chip 2 over both cables.
TEST_F(CliFirmwareTest, TheFlashChannelTableOfAFileGoesIntoChipTwo) {
    const QByteArray table = sim::FlashImage();
    QFile file(dir.filePath("table.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(table);
    file.close();
    ASSERT_EQ(Run({"firmware", "upload", "--table", file.fileName(), "--address", "60000000",
                   "--lpt", "sim"}),
              0)
        << err.toStdString();
    EXPECT_EQ(rig.loader.Received(), table);
    EXPECT_EQ(rig.decoder.Flash(1).Bytes().left(table.size()), table);
}

TEST_F(CliFirmwareTest, AnUnusablePortEndsTheUploadWithItsReason) {
    EXPECT_EQ(Run({"firmware", "upload", "-i", Put(Image(16)), "--address", "7FE00000", "--port",
                   rig.servicePort.Path(), "--lpt", "unix:" + dir.filePath("nobody")}),
              1);
    EXPECT_TRUE(err.contains(Msg(39)));
    EXPECT_TRUE(err.contains(Msg(387).arg(dir.filePath("nobody"), std::strerror(ENOENT))));
}

}  // namespace
}  // namespace velarix
