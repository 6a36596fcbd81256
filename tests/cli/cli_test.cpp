#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <QFile>

#include "commands.h"
#include "expected_settings.h"
#include "shell/message_table.h"

namespace velarix::cli {
namespace {

struct CliRun {
    QString out;
    QString err;
    int status;
};

CliRun RunCli(QStringList args) {
    static QTemporaryDir settings;
    args.prepend(settings.path());
    args.prepend("--settings");
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    VirtualClock clock;
    CliContext context(args, out, err, clock);
    run.status = RunCommand(context);
    out.flush();
    err.flush();
    return run;
}

TEST(Cli, VersionPrintsTheTitle) {
    const CliRun run = RunCli({"--version"});
    EXPECT_EQ(run.status, kDone);
    EXPECT_EQ(run.out, QStringLiteral("Velarix v4.05\n"));
}

TEST(Cli, UnknownCommandsAreBadUsage) {
    const CliRun run = RunCli({"frobnicate"});
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains("frobnicate"));
}

TEST(Cli, NormalizeWritesEveryDefaultOfAnEmptyFolder) {
    QTemporaryDir folder;
    QTextStream out(stdout), err(stderr);
    VirtualClock clock;
    CliContext context({"--settings", folder.path(), "settings", "normalize"}, out, err, clock);
    ASSERT_EQ(RunCommand(context), kDone);
    QFile file(folder.filePath("Velarix.ini"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), test::DefaultSettingsFile(folder.path()).toStdString());
}

TEST(Cli, NormalizeKeepsLinesItDoesNotKnow) {
    QTemporaryDir folder;
    QFile file(folder.filePath("Velarix.ini"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("; my notes\r\n[TForm1]\r\nIdioma1=English\r\nWindowWidth=10\r\n");
    file.close();
    QTextStream out(stdout), err(stderr);
    VirtualClock clock;
    CliContext context({"--settings", folder.path(), "settings", "normalize"}, out, err, clock);
    ASSERT_EQ(RunCommand(context), kDone);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray saved = file.readAll();
    EXPECT_TRUE(
        saved.startsWith("; my notes\r\n[TForm1]\r\nIdioma1=English\r\nWindowWidth=736\r\n"));
}

CliRun RunIn(const QString& settings, const QStringList& args) {
    CliRun run;
    QTextStream out(&run.out);
    QTextStream err(&run.err);
    VirtualClock clock;
    CliContext context(QStringList{"--settings", settings} + args, out, err, clock);
    run.status = RunCommand(context);
    out.flush();
    err.flush();
    return run;
}

TEST(Cli, ASettingsFolderThatIsAFileIsRefused) {
    QTemporaryDir dir;
    const QString file = dir.filePath("Velarix.ini");
    QFile put(file);
    ASSERT_TRUE(put.open(QIODevice::WriteOnly));
    put.write("[TForm1]\r\nTop=1\r\n");
    put.close();
    const CliRun run = RunIn(file, {"settings", "normalize"});
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains(Msg(437) + file)) << run.err.toStdString();
    ASSERT_TRUE(put.open(QIODevice::ReadOnly));
    EXPECT_EQ(put.readAll(), QByteArray("[TForm1]\r\nTop=1\r\n"));  // left as it was
}

// A language without a file is named on standard error; the texts stay Spanish.
TEST(Cli, ALanguageWithoutAFileIsReported) {
    QTemporaryDir dir;
    QFile put(dir.filePath("bad.txt"));
    ASSERT_TRUE(put.open(QIODevice::WriteOnly));
    put.write("%EE=00010\r\n");
    put.close();
    const CliRun run =
        RunIn(dir.path(), {"--language", "Klingon", "eeprom", "fields", "-i", put.fileName()});
    EXPECT_EQ(run.status, kBadUsage);  // for the file, which is refused
    EXPECT_TRUE(run.err.contains(Msg(436))) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains("Klingon.ini")) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(QStringLiteral("La longitud de la línea 1 es incorrecta.")));
}

// Translations lose their edge blanks in the file; they take the Spanish
// text's own, so that composed messages keep their spaces.
TEST(Cli, TranslatedMessagesKeepTheBlanksOfTheSpanishText) {
    QTemporaryDir dir;
    ASSERT_TRUE(QFile::copy(QStringLiteral(VELARIX_SAMPLE_INIS "/English.ini"),
                            dir.filePath("English.ini")));
    QFile put(dir.filePath("bad.txt"));
    ASSERT_TRUE(put.open(QIODevice::WriteOnly));
    put.write("%EE=00010\r\n");
    put.close();
    const CliRun run =
        RunIn(dir.path(), {"--language", "English", "eeprom", "fields", "-i", put.fileName()});
    Messages().ResetToDefaults();
    EXPECT_EQ(run.status, kBadUsage);
    EXPECT_TRUE(run.err.contains(QStringLiteral("The length of line 1 is wrong.")))
        << run.err.toStdString();
}

TEST(Cli, HelpListsTheCommandsAndNoCommandIsBadUsage) {
    for (const char* asked : {"help", "--help"}) {
        const CliRun run = RunCli({asked});
        EXPECT_EQ(run.status, kDone);
        EXPECT_TRUE(run.out.contains("usage: velarix-cli"));
        EXPECT_TRUE(run.out.contains("  jtag write --address HEX"));
    }
    const CliRun none = RunCli({});
    EXPECT_EQ(none.status, kBadUsage);
    EXPECT_TRUE(none.out.isEmpty());
    EXPECT_TRUE(none.err.contains("usage: velarix-cli"));
}

}  // namespace
}  // namespace velarix::cli
