#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "commands.h"
#include "shell/message_table.h"
#include "virtual_scheduler.h"

namespace velarix {
namespace {

// velarix-cli, run in this process against a simulated decoder on a real
// pseudo-terminal; every wait is on a virtual clock.
struct CliSerialTest : ::testing::Test {
    VirtualClock clock;
    test::PtyDecoder pty{clock};
    QTemporaryDir dir;
    QString out;
    QString err;

    int Run(QStringList args) {
        out.clear();
        err.clear();
        args << "--port" << pty.Path() << "--settings" << dir.filePath("INIs");
        QTextStream outStream(&out);
        QTextStream errStream(&err);
        cli::CliContext context(args, outStream, errStream, clock);
        const int status = cli::RunCommand(context);
        outStream.flush();
        errStream.flush();
        return status;
    }

    void SetUp() override {
        if (!pty.port.IsOpen())
            GTEST_SKIP() << "no pseudo-terminal on this machine: "
                         << pty.port.ErrorText().toStdString();
    }

    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    static QByteArray Contents(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    static void Put(const QString& path, const QByteArray& bytes) {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
};

TEST_F(CliSerialTest, ReadsWritesAndVerifiesTheWholeEeprom) {
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("read.bin"), "--format", "raw"}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents(File("read.bin")), pty.decoder.Eeprom());
    EXPECT_TRUE(err.contains(QStringLiteral("¡ Eeprom leída con éxito !")));

    QByteArray image(2048, '\0');
    for (int i = 0; i < image.size(); ++i) image[i] = static_cast<char>((i * 13) ^ (i >> 8));
    Put(File("new.bin"), image);
    ASSERT_EQ(Run({"eeprom", "write", "-i", File("new.bin"), "--format", "raw"}), 0)
        << err.toStdString();
    EXPECT_EQ(pty.decoder.Eeprom(), image);

    EXPECT_EQ(Run({"eeprom", "verify", "-i", File("new.bin"), "--format", "raw"}), 0);
    EXPECT_TRUE(out.isEmpty());
    EXPECT_EQ(err.count(QStringLiteral("Línea verificada.")), 128);
}

TEST_F(CliSerialTest, VerifyListsTheRowsThatDiffer) {
    QByteArray image = pty.decoder.Eeprom();
    image[0x1A5] = static_cast<char>(image[0x1A5] ^ 0x01);
    image[0x7FF] = static_cast<char>(image[0x7FF] ^ 0x80);
    Put(File("other.bin"), image);
    EXPECT_EQ(Run({"eeprom", "verify", "-i", File("other.bin"), "--format", "raw"}), 1);
    EXPECT_EQ(out, QStringLiteral("1A0\n7F0\n"));
}

TEST_F(CliSerialTest, SurvivesRefusalsBelowTheRetryLimit) {
    pty.service.RefuseNext(9);
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "0AF"}),
              0);
    EXPECT_EQ(Contents(File("r.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
    EXPECT_EQ(Contents(File("r.bin")).mid(0xB0), QByteArray(2048 - 0xB0, '\xFF'));
    EXPECT_EQ(err.count(QStringLiteral("$?C0")), 9);
}

TEST_F(CliSerialTest, TenRefusalsFailTheCommandAndWriteNoFile) {
    pty.service.RefuseNext(10);
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw"}), 1);
    EXPECT_TRUE(err.contains(Msg(19)));
    EXPECT_FALSE(QFile::exists(File("r.bin")));
}

TEST_F(CliSerialTest, ASilentDecoderIsReportedAsNoReply) {
    pty.service.SetSilent(true);
    const std::uint32_t start = clock.Tick();
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw"}), 1);
    EXPECT_TRUE(
        err.contains(QStringLiteral("¡ No hay respuesta del decodificador en ese puerto serie !")));
    EXPECT_TRUE(err.contains(Msg(44)));
    EXPECT_EQ(clock.Tick() - start, 15000u);
}

TEST_F(CliSerialTest, AReplyWithoutCarriageReturnEndsByTimeOut) {
    pty.port.SetDropCarriageReturn(true);
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "row:05"}),
              1);
    EXPECT_TRUE(err.contains(Msg(43)));
    EXPECT_EQ(pty.service.LinesHandled(), 1);
}

TEST_F(CliSerialTest, RepliesSplitOverSeveralArrivalsAreAssembled) {
    pty.port.SetSplitReplies(5);
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "0AF"}),
              0);
    EXPECT_EQ(Contents(File("r.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
}

TEST_F(CliSerialTest, ALateButTimelyReplyIsWaitedFor) {
    pty.port.SetReplyDelay(14000);
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "row:7F"}),
              0);
    EXPECT_EQ(Contents(File("r.bin")).mid(0x7F0), pty.decoder.Eeprom().mid(0x7F0));
}

// A read reply whose data are not 32 hexadecimal digits, a status line run
// into a reply, or noise before one: each is a refusal, logged, and the row
// is asked for again; the file holds the decoder's bytes.
TEST_F(CliSerialTest, CorruptReadRepliesAreRefusedAndAskedAgain) {
    pty.port.SetBadDigits(2);
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "0AF"}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents(File("r.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
    EXPECT_EQ(err.count(Msg(432)), 2);
    EXPECT_EQ(pty.service.LinesHandled(), 11 + 2);

    pty.port.SetBanners(1);
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("b.bin"), "--format", "raw", "--length", "0AF"}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents(File("b.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
    EXPECT_EQ(err.count(Msg(432)), 1);
}

TEST_F(CliSerialTest, NoiseBeforeAReplyIsNotTakenForData) {
    pty.port.SetNoise(3, "#~");  // two bytes: the data would shift by two digits
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "0AF"}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents(File("r.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
    EXPECT_EQ(err.count(Msg(432)), 3) << err.toStdString();
}

// Ten corrupt replies in a row reach the retry limit: a failure, no file.
TEST_F(CliSerialTest, CorruptRepliesCountTowardsTheRetryLimit) {
    pty.port.SetBadDigits(10);
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw"}), 1);
    EXPECT_TRUE(err.contains(Msg(19)));
    EXPECT_FALSE(QFile::exists(File("r.bin")));
}

// A reply that floods without a carriage return is cut off far beyond any
// real reply and counts as a failed reply; the row is asked for again.
TEST_F(CliSerialTest, AFloodWithoutCarriageReturnIsAFailedReply) {
    pty.port.SetFloods(1, 6000);
    const std::uint32_t start = clock.Tick();
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw", "--length", "0AF"}), 0)
        << err.toStdString();
    EXPECT_EQ(Contents(File("r.bin")).left(0xB0), pty.decoder.Eeprom().left(0xB0));
    EXPECT_TRUE(err.contains(Msg(431)));
    EXPECT_LT(clock.Tick() - start, 15000u);  // not ended by the time-out
}

TEST_F(CliSerialTest, AnEndlessFloodEndsAtTheRetryLimit) {
    pty.port.SetFloods(1000, 6000);
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--format", "raw"}), 1);
    EXPECT_TRUE(err.contains(Msg(19)));
    EXPECT_FALSE(QFile::exists(File("r.bin")));
}

// Random faults of every kind, seeded: whatever happens, a read that reports
// success wrote exactly the decoder's EEPROM, and a failed one wrote nothing.
TEST_F(CliSerialTest, RandomFaultsAreNeverReportedAsSuccess) {
    int successes = 0, failures = 0;
    for (std::uint32_t seed = 1; seed <= 24; ++seed) {
        test::PtyDecoder faulty(clock);
        faulty.port.SetRandomFaults(seed, 2);
        const QString file = File("faulty.bin");
        QFile::remove(file);
        QString o, e;
        QTextStream outStream(&o), errStream(&e);
        cli::CliContext context({"eeprom", "read", "-o", file, "--format", "raw", "--port",
                                 faulty.Path(), "--settings", dir.filePath("INIs")},
                                outStream, errStream, clock);
        const int status = cli::RunCommand(context);
        errStream.flush();
        if (status == 0) {
            ++successes;
            EXPECT_EQ(Contents(file), faulty.decoder.Eeprom()) << "seed " << seed;
        } else {
            ++failures;
            EXPECT_EQ(status, 1) << "seed " << seed;
            EXPECT_FALSE(QFile::exists(file)) << "seed " << seed;
            EXPECT_TRUE(e.contains(Msg(43)) || e.contains(Msg(19))) << "seed " << seed;
        }
    }
    EXPECT_GT(successes, 0);
    EXPECT_GT(failures, 0);
}

TEST_F(CliSerialTest, TerminalPrintsEachReplyLine) {
    EXPECT_EQ(Run({"terminal", "%EE?00010", "%EE"}), 0) << err.toStdString();
    const QString first = QStringLiteral("$!C0") +
                          QString::fromLatin1(pty.decoder.Eeprom().left(16).toHex().toUpper());
    EXPECT_EQ(out, first + "\n$?C0\n");
    EXPECT_TRUE(pty.port.Received().contains("%EEFF"));
}

TEST_F(CliSerialTest, TerminalWithoutChecksumSendsTheLineAsTyped) {
    pty.service.SetSilent(true);
    EXPECT_EQ(Run({"terminal", "--no-checksum", "HELLO"}), 1);
    EXPECT_EQ(pty.port.Received(), QByteArray("HELLO"));
    EXPECT_TRUE(err.contains(Msg(43)));
}

TEST_F(CliSerialTest, BadUsageAndRefusedFilesExitWithTwo) {
    EXPECT_EQ(Run({"eeprom", "read", "--format", "raw"}), 2);  // no -o
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("x"), "--format", "raw", "--length", "row:80"}), 2);
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("x"), "--format", "raw", "--baud", "12345"}), 2);
    Put(File("short.bin"), QByteArray(2047, '\0'));
    EXPECT_EQ(Run({"eeprom", "write", "-i", File("short.bin"), "--format", "raw"}), 2);
    EXPECT_EQ(pty.service.LinesHandled(), 0);
}

// A file that does not define every row the length would write is refused
// before anything is sent, with the count of the rows it defines.
TEST_F(CliSerialTest, WriteRefusesAFileThatDoesNotDefineEveryRowToWrite) {
    const QByteArray before = pty.decoder.Eeprom();
    Put(File("empty.txt"), QByteArray());
    EXPECT_EQ(Run({"eeprom", "write", "-i", File("empty.txt")}), 2);
    EXPECT_TRUE(err.contains(Msg(433))) << err.toStdString();
    EXPECT_TRUE(err.contains(Msg(434) + "0" + Msg(435) + "128")) << err.toStdString();
    const QByteArray row05 = "%EE=05010" + QByteArray(32, 'A') + "F6";
    Put(File("one.txt"), row05);
    EXPECT_EQ(Run({"eeprom", "write", "-i", File("one.txt")}), 2);
    EXPECT_TRUE(err.contains(Msg(434) + "1" + Msg(435) + "128")) << err.toStdString();
    EXPECT_EQ(Run({"eeprom", "write", "-i", File("one.txt"), "--length", "0AF"}), 2);
    EXPECT_TRUE(err.contains(Msg(434) + "1" + Msg(435) + "11")) << err.toStdString();
    QByteArray plain;
    for (int row = 0; row < 5; ++row) plain += QByteArray(32, '1') + "\r\n";
    Put(File("five.txt"), plain);
    EXPECT_EQ(
        Run({"eeprom", "write", "-i", File("five.txt"), "--format", "zefiro9", "--length", "0AF"}),
        2);
    EXPECT_EQ(pty.service.LinesHandled(), 0);
    EXPECT_EQ(pty.decoder.Eeprom(), before);

    // The row a file defines is enough for that row alone.
    ASSERT_EQ(Run({"eeprom", "write", "-i", File("one.txt"), "--length", "row:05"}), 0)
        << err.toStdString();
    EXPECT_EQ(pty.decoder.Eeprom().mid(0x50, 16), QByteArray(16, '\xAA'));
    EXPECT_EQ(pty.decoder.Eeprom().left(0x50), before.left(0x50));
}

// The output is checked before the decoder is asked for anything.
TEST_F(CliSerialTest, ReadChecksItsOutputBeforeTalkingToTheDecoder) {
    EXPECT_EQ(Run({"eeprom", "read", "-o", File("missing/folder/x.bin"), "--format", "raw"}), 1);
    EXPECT_TRUE(err.contains(File("missing/folder/x.bin"))) << err.toStdString();
    EXPECT_EQ(pty.service.LinesHandled(), 0);
    EXPECT_EQ(Run({"eeprom", "read", "-o", dir.path(), "--format", "raw"}), 1);  // a folder
    EXPECT_EQ(pty.service.LinesHandled(), 0);
}

TEST_F(CliSerialTest, TheSerialPortOpenedIsLogged) {
    ASSERT_EQ(Run({"eeprom", "read", "-o", File("r.bin"), "--length", "row:00"}), 0);
    EXPECT_TRUE(err.startsWith(Msg(430) + pty.Path() + "\n")) << err.toStdString();
    ASSERT_EQ(Run({"terminal", "%EE?00010"}), 0);
    EXPECT_TRUE(err.startsWith(Msg(430) + pty.Path() + "\n")) << err.toStdString();
}

TEST_F(CliSerialTest, APortThatCannotBeOpenedFailsAtOnce) {
    out.clear();
    QTextStream o(&out), e(&err);
    cli::CliContext context(
        {"eeprom", "read", "-o", File("x"), "--format", "raw", "--port", "/dev/nonexistent-port"},
        o, e, clock);
    EXPECT_EQ(cli::RunCommand(context), 1);
    e.flush();
    EXPECT_TRUE(err.contains("/dev/nonexistent-port"));
    EXPECT_EQ(clock.Tick(), 0u);
}

}  // namespace
}  // namespace velarix
