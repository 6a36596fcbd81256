#include <unistd.h>
#include <QCoreApplication>
#include <QTextStream>

#include "commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    velarix::SystemClock clock;
    velarix::cli::CliContext context(args, out, err, clock);
    context.showProgress = ::isatty(STDERR_FILENO) != 0;
    context.programFolder = QCoreApplication::applicationDirPath();
    const int status = velarix::cli::RunCommand(context);
    out.flush();
    err.flush();
    return status;
}
