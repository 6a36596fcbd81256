#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <QFile>

#include "commands.h"
#include "expected_settings.h"

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

TEST(Cli, HelpListsTheCommands) {
    const CliRun run = RunCli({});
    EXPECT_EQ(run.status, kDone);
    EXPECT_TRUE(run.out.contains("usage: velarix-cli"));
}

}  // namespace
}  // namespace velarix::cli
