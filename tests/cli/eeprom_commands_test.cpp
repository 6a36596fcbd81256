#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include "commands.h"
#include "eeprom/eeprom_files.h"
#include "eeprom/eeprom_image.h"
#include "simulated_decoder.h"

namespace velarix::cli {
namespace {

struct EepromCommandsTest : ::testing::Test {
    QTemporaryDir dir;
    VirtualClock clock;
    QString out, err;
    QByteArray binary;  // what went to standard output as bytes

    int Run(QStringList args) {
        out.clear();
        err.clear();
        binary.clear();
        args.prepend(dir.filePath("INIs"));
        args.prepend("--settings");
        QTextStream o(&out), e(&err);
        QBuffer bytes(&binary);
        bytes.open(QIODevice::WriteOnly);
        CliContext context(args, o, e, clock);
        context.binaryOut = &bytes;
        const int status = RunCommand(context);
        o.flush();
        e.flush();
        return status;
    }
    QString File(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    void Put(const char* name, const QByteArray& bytes) {
        QFile file(File(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray Contents(const char* name) const {
        QFile file(File(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // KEY -> (SHOWN, RAW) of the last `fields` output.
    QMap<QString, QStringList> Fields() const {
        QMap<QString, QStringList> fields;
        for (const QString& line : out.split('\n', Qt::SkipEmptyParts)) {
            const QStringList parts = line.split('\t');
            fields[parts[0]] = parts.mid(1);
        }
        return fields;
    }
};

TEST_F(EepromCommandsTest, FieldsOfTheSimulatedDecodersEepromInPageOrder) {
    Put("default.bin", sim::DefaultEeprom());
    ASSERT_EQ(Run({"eeprom", "fields", "-i", File("default.bin"), "--format", "raw"}), 0)
        << err.toStdString();
    QStringList keys;
    for (const QString& line : out.split('\n', Qt::SkipEmptyParts))
        keys << line.section('\t', 0, 0);
    QStringList expected{"country",      "provider",      "software_version", "last_channel",
                         "country_code", "sort_provider", "audio_primary",    "audio_secondary",
                         "subtitles",    "sections",      "serial_number",    "epg",
                         "brightness",   "colour_system", "startup_mode",     "diseqc"};
    for (const char* record : {"sat1.", "sat2."}) {
        for (const char* field : {"name", "band", "antenna", "frequency", "symbol_rate", "fec",
                                  "polarity", "tone", "lnb"}) {
            expected << QString::fromLatin1(record) + field;
        }
    }
    EXPECT_EQ(keys, expected);
    const auto fields = Fields();
    EXPECT_EQ(fields["country"], (QStringList{"ESP", "455350"}));
    EXPECT_EQ(fields["software_version"], (QStringList{"42", "2A"}));
    EXPECT_EQ(fields["sections"][0], QStringLiteral("1 y 2 (BCT15xx)"));
    EXPECT_EQ(fields["serial_number"][0], QStringLiteral("000123456789"));
    EXPECT_EQ(fields["sat1.name"], (QStringList{"ASTRA", ""}));
    EXPECT_EQ(fields["sat2.name"][0], QStringLiteral("HOTBIRD"));
    EXPECT_EQ(fields["sat1.lnb"][0], QStringLiteral("9750"));
    ASSERT_EQ(
        Run({"eeprom", "fields", "-i", File("default.bin"), "--format", "raw", "--model", "1"}), 0);
    EXPECT_EQ(Fields()["sections"][0], QStringLiteral("0 y 1 (BCT14xx)"));
}

TEST_F(EepromCommandsTest, SetFieldDoesWhatThePageDoes) {
    Put("default.bin", sim::DefaultEeprom());
    ASSERT_EQ(Run({"eeprom", "set-field", "-i", File("default.bin"), "--format", "raw", "-o",
                   File("new.txt"), "--to", "velarix", "country=ITA", "brightness=raw:1",
                   "epg=Italiano", "last_channel=2500", "sat1.frequency=8000",
                   "sat2.symbol_rate=22000", "sat2.name=sirius", "sat1.polarity=V"}),
              0)
        << err.toStdString();
    ASSERT_EQ(Run({"eeprom", "fields", "-i", File("new.txt")}), 0) << err.toStdString();
    const auto fields = Fields();
    EXPECT_EQ(fields["country"], (QStringList{"ITA", "495441"}));
    EXPECT_EQ(fields["brightness"], (QStringList{"Media Baja", "81"}));
    EXPECT_EQ(fields["epg"], (QStringList{"Italiano", "3B00000600000000"}));
    EXPECT_EQ(fields["last_channel"], (QStringList{"0", "0000"}));
    EXPECT_EQ(fields["sat1.frequency"][0], QStringLiteral("11970"));
    EXPECT_EQ(fields["sat2.name"][0], QStringLiteral("SIRIUS"));
    EXPECT_EQ(fields["sat1.polarity"][0], QStringLiteral("V"));
    EXPECT_EQ(fields["sat2.symbol_rate"][0],
              QStringLiteral("27500"));  // no 22000 in an empty table
}

TEST_F(EepromCommandsTest, SetFieldRefusesWhatThePageDoesNotOffer) {
    Put("default.bin", sim::DefaultEeprom());
    const QStringList base{"eeprom",   "set-field", "-i", File("default.bin"),
                           "--format", "raw",       "-o", File("x.bin")};
    EXPECT_EQ(Run(base + QStringList{"country=XXX"}), 2);
    EXPECT_EQ(Run(base + QStringList{"colour=Pal"}), 2);
    EXPECT_EQ(Run(base + QStringList{"sat3.name=X"}), 2);
    EXPECT_EQ(Run(base + QStringList{"sat1.band=L"}), 2);
    // More than a field of characters holds would be cut: refused, not cut.
    EXPECT_EQ(Run(base + QStringList{"country_code=345"}), 2);
    EXPECT_EQ(Run(base + QStringList{"serial_number=1234567890123"}), 2);
    EXPECT_EQ(Run(base + QStringList{"sat1.name=ABCDEFGHIJKLMNOPQRSTUV"}), 2);   // 22 of 21
    EXPECT_EQ(Run(base + QStringList{"sat2.name=ABCDEFGHIJKLMNOPQRSTUVW"}), 2);  // 23 of 22
    EXPECT_FALSE(QFile::exists(File("x.bin")));
}

// A number above its field's limit follows the rule as a whole number: it is
// never cut to the digits a box would take first.
TEST_F(EepromCommandsTest, NumbersAboveTheirLimitFollowTheRuleAsWholeNumbers) {
    Put("default.bin", sim::DefaultEeprom());
    ASSERT_EQ(Run({"eeprom", "set-field", "-i", File("default.bin"), "--format", "raw", "-o",
                   File("new.bin"), "software_version=1000", "last_channel=20021",
                   "sat1.frequency=130001", "sat2.lnb=105000", "sat2.frequency=99999999999999"}),
              0)
        << err.toStdString();
    const QByteArray image = Contents("new.bin");
    EXPECT_EQ(image.mid(0x009, 1).toHex().toUpper(), QByteArray("00"));
    EXPECT_EQ(image.mid(0x065, 2).toHex().toUpper(), QByteArray("0000"));
    EXPECT_EQ(image.mid(0x00B + 0x1A, 2).toHex().toUpper(), QByteArray("2EC2"));  // 11970
    EXPECT_EQ(image.mid(0x030 + 0x1A, 2).toHex().toUpper(), QByteArray("2EC2"));
    EXPECT_EQ(image.mid(0x030 + 0x23, 2).toHex().toUpper(), QByteArray("2968"));  // 10600
    ASSERT_EQ(Run({"eeprom", "fields", "-i", File("new.bin"), "--format", "raw"}), 0);
    EXPECT_EQ(Fields()["software_version"], (QStringList{"0", "00"}));
    EXPECT_EQ(Fields()["sat1.frequency"][0], QStringLiteral("11970"));
}

TEST_F(EepromCommandsTest, AStoredNumberAboveItsLimitShowsAsZero) {
    QByteArray image = sim::DefaultEeprom();
    image[0x065] = '\x48';  // 18582
    image[0x066] = '\x96';
    Put("big.bin", image);
    ASSERT_EQ(Run({"eeprom", "fields", "-i", File("big.bin"), "--format", "raw"}), 0);
    EXPECT_EQ(Fields()["last_channel"], (QStringList{"0", "4896"}));
}

// "otro" is an entry of every list: choosing it keeps the raw view's text,
// which is written back with its check word, as on the page.
TEST_F(EepromCommandsTest, SetFieldChoosesOtroKeepingTheRawView) {
    QByteArray image = sim::DefaultEeprom();
    image.replace(0x002, 3, "XXX");
    image[0x069] = '\0';
    image[0x06A] = '\0';
    Put("xxx.bin", image);
    ASSERT_EQ(Run({"eeprom", "set-field", "-i", File("xxx.bin"), "--format", "raw", "-o",
                   File("otro.bin"), "country=otro"}),
              0)
        << err.toStdString();
    const QByteArray saved = Contents("otro.bin");
    EXPECT_EQ(saved.mid(0x002, 3), QByteArray("XXX"));
    EXPECT_EQ(saved.mid(0x069, 2).toHex().toUpper(), QByteArray("A758"));  // x = 58
    ASSERT_EQ(Run({"eeprom", "fields", "-i", File("otro.bin"), "--format", "raw"}), 0);
    EXPECT_EQ(Fields()["country"], (QStringList{"otro", "585858"}));
}

// Whether a path is, itself, a named pipe or a symbolic link.
bool IsFifo(const QString& path) {
    struct stat info {};
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0 && S_ISFIFO(info.st_mode);
}
bool IsLink(const QString& path) {
    struct stat info {};
    return ::lstat(path.toLocal8Bit().constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

// A device, a pipe or a link to one is written in place, never replaced by
// a regular file.
TEST_F(EepromCommandsTest, AnOutputThatIsNoRegularFileIsWrittenInPlace) {
    Put("default.bin", sim::DefaultEeprom());
    const QString fifo = File("fifo");
    ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(fifo, File("link")));
    const int reader = ::open(fifo.toLocal8Bit().constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    for (const QString& target : {fifo, File("link")}) {
        ASSERT_EQ(Run({"eeprom", "convert", "-i", File("default.bin"), "--from", "raw", "-o",
                       target, "--to", "raw"}),
                  0)
            << err.toStdString();
        QByteArray got(4096, '\0');
        const ssize_t n = ::read(reader, got.data(), got.size());
        EXPECT_EQ(got.left(std::max<ssize_t>(n, 0)), sim::DefaultEeprom());
    }
    ::close(reader);
    EXPECT_TRUE(IsFifo(fifo));
    EXPECT_TRUE(IsLink(File("link")));
}

// `-o /dev/stdout | next-program`: /dev/stdout links to /proc/self/fd/1,
// which links to "pipe:[N]", a name no folder holds.
TEST_F(EepromCommandsTest, AnOutputThroughTheLinksOfAnAnonymousPipeIsWritten) {
    Put("default.bin", sim::DefaultEeprom());
    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
    const QString throughProc = QStringLiteral("/proc/self/fd/%1").arg(ends[1]);
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("default.bin"), "--from", "raw", "-o",
                   throughProc, "--to", "raw"}),
              0)
        << err.toStdString();
    QByteArray got(4096, '\0');
    const ssize_t n = ::read(ends[0], got.data(), got.size());
    EXPECT_EQ(got.left(std::max<ssize_t>(n, 0)), sim::DefaultEeprom());
    ::close(ends[0]);
    ::close(ends[1]);
}

TEST_F(EepromCommandsTest, ALinkToARegularFileStaysALink) {
    Put("default.bin", sim::DefaultEeprom());
    Put("target.bin", "old");
    ASSERT_TRUE(QFile::link(File("target.bin"), File("link.bin")));
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("default.bin"), "--from", "raw", "-o",
                   File("link.bin"), "--to", "raw"}),
              0);
    EXPECT_TRUE(IsLink(File("link.bin")));
    EXPECT_EQ(Contents("target.bin"), sim::DefaultEeprom());
}

TEST_F(EepromCommandsTest, OutputDashGoesToStandardOutput) {
    Put("default.bin", sim::DefaultEeprom());
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("default.bin"), "--from", "raw", "-o", "-",
                   "--to", "zefiro9"}),
              0)
        << err.toStdString();
    EXPECT_EQ(binary.size(), 128 * 34);
    EXPECT_TRUE(binary.startsWith("FFFF455350FFFF000C2AFF4153545241\r\n"));
}

TEST_F(EepromCommandsTest, ConvertKeepsEveryByte) {
    Put("default.bin", sim::DefaultEeprom());
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("default.bin"), "--from", "raw", "-o",
                   File("a.txt"), "--to", "zefiro9"}),
              0);
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("a.txt"), "--from", "zefiro9", "-o",
                   File("b.txt"), "--to", "velarix"}),
              0);
    ASSERT_EQ(Run({"eeprom", "convert", "-i", File("b.txt"), "--from", "velarix", "-o",
                   File("c.bin"), "--to", "raw"}),
              0);
    EXPECT_EQ(Contents("c.bin"), sim::DefaultEeprom());
    EXPECT_EQ(Contents("a.txt").size(), 128 * 34);
}

TEST_F(EepromCommandsTest, ARefusedFileExitsWithTwoAndItsReason) {
    Put("short.bin", QByteArray(100, '\0'));
    EXPECT_EQ(Run({"eeprom", "fields", "-i", File("short.bin"), "--format", "raw"}), 2);
    EXPECT_TRUE(err.contains(QStringLiteral("La longitud del fichero es incorrecto.")));
    EXPECT_EQ(Run({"eeprom", "fields", "-i", File("missing.bin"), "--format", "raw"}), 2);
    EXPECT_EQ(Run({"eeprom", "convert", "-i", File("short.bin"), "--from", "binary", "-o",
                   File("x"), "--to", "raw"}),
              2);
}

}  // namespace
}  // namespace velarix::cli
