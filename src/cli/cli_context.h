#pragma once

#include <QIODevice>
#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

#include "lpt/port_backend.h"
#include "shell/clock.h"
#include "shell/settings.h"

namespace velarix::cli {

// Exit statuses of velarix-cli.
enum ExitStatus { kDone = 0, kFailed = 1, kBadUsage = 2 };

// The arguments of one command and where its output goes.
class CliContext {
public:
    CliContext(QStringList args, QTextStream& out, QTextStream& err, Clock& clock)
        : args_(std::move(args)), out_(out), err_(err), clock_(clock) {}

    // Takes "--name VALUE" out of the arguments.
    std::optional<QString> TakeOption(const QString& name);
    // Takes a "--name" switch out of the arguments.
    bool TakeFlag(const QString& name);
    // What is left once the options were taken.
    const QStringList& Rest() const { return args_; }
    // The first argument left that looks like an option ("--name", also one
    // whose value is missing), or an empty text.
    QString LeftoverOption() const;

    QTextStream& out() { return out_; }
    // Standard output for bytes ("-o -"); the text stream is flushed first.
    QIODevice* binaryOut = nullptr;
    QTextStream& err() { return err_; }
    // The clock every wait is measured with; the tests' is virtual.
    Clock& clock() { return clock_; }
    // Whether progress may be drawn on standard error (it is a terminal).
    bool showProgress = false;
    // Where the settings folder is looked for when --settings is not given.
    QString programFolder;
    // The settings, loaded as the window loads them.
    Settings settings;
    // What `--lpt sim` opens; left empty, a simulated decoder of the command's own.
    SimPortMaker simParallelPort;

    // Reports a usage fault and gives the status to exit with.
    int BadUsage(const QString& text);

private:
    QStringList args_;
    QTextStream& out_;
    QTextStream& err_;
    Clock& clock_;
};

}  // namespace velarix::cli
