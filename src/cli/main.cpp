#include <unistd.h>
#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include "commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    velarix::SystemClock clock;
    QFile bytesOut;
    bytesOut.open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    velarix::cli::CliContext context(args, out, err, clock);
    context.binaryOut = &bytesOut;
    context.showProgress = ::isatty(STDERR_FILENO) != 0;
    context.programFolder = QCoreApplication::applicationDirPath();
    const int status = velarix::cli::RunCommand(context);
    out.flush();
    err.flush();
    return status;
}
