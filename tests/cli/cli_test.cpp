#include <gtest/gtest.h>

#include "commands.h"

namespace velarix::cli {
namespace {

struct CliRun {
    QString out;
    QString err;
    int status;
};

CliRun RunCli(const QStringList& args) {
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

TEST(Cli, HelpListsTheCommands) {
    const CliRun run = RunCli({});
    EXPECT_EQ(run.status, kDone);
    EXPECT_TRUE(run.out.contains("usage: velarix-cli"));
}

}  // namespace
}  // namespace velarix::cli
