#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
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

TEST(Programs, TheSimulatorsHelpNamesWhatItPrintsAndTakes) {
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_SIM), {"--help"});
    ASSERT_TRUE(simulator.waitForFinished(10000));
    EXPECT_EQ(simulator.exitCode(), 0);
    const QString help = QString::fromUtf8(simulator.readAllStandardOutput());
    for (const char* option : {"--lpt-socket PATH", "--flash1 FILE", "--lpt-random",
                               "--save-trap FILE", "pseudo-terminal", "--lpt unix:PATH"})
        EXPECT_TRUE(help.contains(option)) << option;
}

// The sample tables the simulator writes, as a person tries them: the command
// line reads the flash image and saves it back byte for byte.
TEST(Programs, TheSimulatorsSampleTablesSaveBackUnchanged) {
    QTemporaryDir dir;
    QProcess simulator;
    // Into a folder that is not there yet, as the README's example does.
    const QString tables = dir.filePath("tables");
    simulator.start(QStringLiteral(VELARIX_SIM), {"--save-tables", tables});
    ASSERT_TRUE(simulator.waitForFinished(10000));
    ASSERT_EQ(simulator.exitCode(), 0) << simulator.readAllStandardError().toStdString();
    QProcess cli;
    cli.start(QStringLiteral(VELARIX_CLI),
              {"--settings", dir.filePath("INIs"), "tables", "save", "-i",
               tables + "/sample-flash.bin", "-o", dir.filePath("copy.bin")});
    ASSERT_TRUE(cli.waitForFinished(30000));
    EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
    QFile sample(tables + "/sample-flash.bin"), copy(dir.filePath("copy.bin"));
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

// The command line as a batch tool: what it reads is bounded by what each
// format can use, so an endless input ends at once.
struct Batch {
    QProcess process;
    QTemporaryDir settings;
    // Runs velarix-cli; false when it has not ended within the guard.
    bool Run(const QStringList& args) {
        process.setWorkingDirectory(settings.path());
        process.start(QStringLiteral(VELARIX_CLI),
                      QStringList{"--settings", settings.path()} + args);
        if (process.waitForFinished(20000)) return true;
        process.kill();
        process.waitForFinished();
        return false;
    }
};

TEST(Programs, EndlessInputsAreReadOnlyAsFarAsTheirFormatGoes) {
    QTemporaryDir dir;
    Batch raw;
    ASSERT_TRUE(raw.Run({"eeprom", "fields", "-i", "/dev/zero", "--format", "raw"}));
    EXPECT_EQ(raw.process.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(raw.process.readAllStandardError())
                    .contains(QStringLiteral("La longitud del fichero es incorrecto.")));
    Batch text;
    ASSERT_TRUE(text.Run({"eeprom", "convert", "-i", "/dev/zero", "--from", "zefiro9", "-o",
                          dir.filePath("x.bin"), "--to", "raw"}));
    EXPECT_EQ(text.process.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(text.process.readAllStandardError())
                    .contains(QStringLiteral("La longitud del fichero es incorrecto.")));
    // A frame dump is decoded from its first 640,000 bytes, as a longer one is.
    Batch picture;
    ASSERT_TRUE(picture.Run({"picture", "decode", "-i", "/dev/zero", "-o", dir.filePath("z.bmp")}));
    EXPECT_EQ(picture.process.exitCode(), 0)
        << picture.process.readAllStandardError().toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("z.bmp")));
}

// "-o -" writes the file to standard output, byte for byte.
TEST(Programs, OutputDashIsStandardOutput) {
    QTemporaryDir dir;
    QFile in(dir.filePath("e.bin"));
    ASSERT_TRUE(in.open(QIODevice::WriteOnly));
    in.write(sim::DefaultEeprom());
    in.close();
    Batch convert;
    ASSERT_TRUE(convert.Run(
        {"eeprom", "convert", "-i", in.fileName(), "--from", "raw", "-o", "-", "--to", "raw"}));
    EXPECT_EQ(convert.process.exitCode(), 0);
    EXPECT_EQ(convert.process.readAllStandardOutput(), sim::DefaultEeprom());
    EXPECT_FALSE(QFile::exists(convert.settings.filePath("-")));
}

// The window's options that end it at once need no window and no display.
struct Window {
    QProcess process;
    bool Run(const QStringList& args) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("DISPLAY"));
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(VELARIX_GUI), args);
        if (process.waitForFinished(20000)) return true;
        process.kill();
        process.waitForFinished();
        return false;
    }
};

TEST(Programs, TheWindowPrintsItsOptions) {
    Window window;
    ASSERT_TRUE(window.Run({"--help"}));
    EXPECT_EQ(window.process.exitCode(), 0);
    const QString usage = QString::fromUtf8(window.process.readAllStandardOutput());
    for (const char* option : {"--demo", "--port", "--settings", "--language", "--version"})
        EXPECT_TRUE(usage.contains(QLatin1String(option))) << option;
}

TEST(Programs, TheWindowRefusesWhatItDoesNotKnowBeforeItOpens) {
    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"--demo", "extra"},
                                    QStringList{"--port"}}) {
        Window window;
        ASSERT_TRUE(window.Run(args));
        EXPECT_EQ(window.process.exitCode(), 2) << args.join(' ').toStdString();
        const QByteArray err = window.process.readAllStandardError();
        EXPECT_TRUE(err.contains(args.last().toUtf8())) << err.toStdString();
        EXPECT_TRUE(err.contains("usage: velarix")) << err.toStdString();
    }
}

TEST(Programs, TheWindowRefusesASettingsFolderThatIsAFile) {
    QTemporaryDir dir;
    QFile file(dir.filePath("Velarix.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    Window window;
    ASSERT_TRUE(window.Run({"--settings", file.fileName()}));
    EXPECT_EQ(window.process.exitCode(), 2);
    EXPECT_TRUE(window.process.readAllStandardError().contains(file.fileName().toUtf8()));
}

// A language without a file is named on standard error as the window opens.
TEST(Programs, TheWindowReportsALanguageWithoutAFile) {
    QTemporaryDir settings;
    QProcess window;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    window.setProcessEnvironment(env);
    window.setReadChannel(QProcess::StandardError);
    window.start(QStringLiteral(VELARIX_GUI),
                 {"--settings", settings.path(), "--language", "Klingon"});
    QByteArray err;
    while (!err.contains("Klingon.ini") && window.waitForReadyRead(10000))
        err += window.readAllStandardError();
    window.terminate();
    window.waitForFinished(10000);
    EXPECT_TRUE(err.contains("Klingon.ini")) << err.toStdString();
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

// velarix-sim's chips hold what --flash1 gives them, and its socket reaches
// them over the JTAG cable: 4 KiB of chip 1 read out are the file's bytes.
TEST(Programs, TheCommandLineReadsTheFlashThroughTheSimulatorsSocket) {
    QTemporaryDir dir;
    QByteArray firmware(0x10000, '\0');
    for (int i = 0; i < firmware.size(); ++i) firmware[i] = char((i * 13) ^ (i >> 8));
    QFile image(dir.filePath("firmware.bin"));
    ASSERT_TRUE(image.open(QIODevice::WriteOnly));
    image.write(firmware);
    image.close();
    QProcess simulator;
    simulator.start(QStringLiteral(VELARIX_SIM),
                    {"--flash1", image.fileName(), "--lpt-socket", dir.filePath("lpt")});
    ASSERT_TRUE(simulator.waitForStarted());
    QStringList lines;
    while (lines.size() < 2 && simulator.waitForReadyRead(10000)) {
        while (simulator.canReadLine())
            lines << QString::fromLocal8Bit(simulator.readLine()).trimmed();
    }
    ASSERT_EQ(lines.size(), 2) << simulator.readAllStandardError().toStdString();
    QProcess read;
    read.start(QStringLiteral(VELARIX_CLI),
               {"--settings", dir.filePath("INIs"), "jtag", "read", "--lpt", "unix:" + lines[1],
                "--address", "7FE00000", "--length", "1000", "-o", dir.filePath("chip1.bin")});
    ASSERT_TRUE(read.waitForFinished(60000));
    EXPECT_EQ(read.exitCode(), 0) << read.readAllStandardError().toStdString();
    QFile file(dir.filePath("chip1.bin"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), firmware.left(0x1000));
    simulator.terminate();
    EXPECT_TRUE(simulator.waitForFinished(10000));

    // A file larger than the chip is refused before anything is served.
    QFile big(dir.filePath("big.bin"));
    ASSERT_TRUE(big.open(QIODevice::WriteOnly));
    big.write(QByteArray(0x200001, '\0'));
    big.close();
    QProcess refused;
    refused.start(QStringLiteral(VELARIX_SIM), {"--flash2", big.fileName()});
    ASSERT_TRUE(refused.waitForFinished(10000));
    EXPECT_EQ(refused.exitCode(), 2);
}

}  // namespace
}  // namespace velarix
