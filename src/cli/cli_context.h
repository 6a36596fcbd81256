#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace velarix::cli {

// Exit statuses of velarix-cli.
enum ExitStatus { kDone = 0, kFailed = 1, kBadUsage = 2 };

// The arguments of one command and where its output goes.
class CliContext {
public:
    CliContext(QStringList args, QTextStream& out, QTextStream& err)
        : args_(std::move(args)), out_(out), err_(err) {}

    // Takes "--name VALUE" out of the arguments.
    std::optional<QString> TakeOption(const QString& name);
    // Takes a "--name" switch out of the arguments.
    bool TakeFlag(const QString& name);
    // What is left once the options were taken.
    const QStringList& Rest() const { return args_; }

    QTextStream& out() { return out_; }
    QTextStream& err() { return err_; }

    // Reports a usage fault and gives the status to exit with.
    int BadUsage(const QString& text);

private:
    QStringList args_;
    QTextStream& out_;
    QTextStream& err_;
};

}  // namespace velarix::cli
