#include <QCoreApplication>
#include <QTextStream>
#include <cstdio>

#include "commands.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    velarix::cli::CliContext context(args, out, err);
    const int status = velarix::cli::RunCommand(context);
    out.flush();
    err.flush();
    return status;
}
