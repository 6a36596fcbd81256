#include "cli_context.h"

namespace velarix::cli {

std::optional<QString> CliContext::TakeOption(const QString& name) {
    const qsizetype at = args_.indexOf(name);
    if (at < 0 || at + 1 >= args_.size()) return std::nullopt;
    const QString value = args_.at(at + 1);
    args_.remove(at, 2);
    return value;
}

QString CliContext::LeftoverOption() const {
    for (const QString& arg : args_) {
        if (arg.startsWith(QStringLiteral("--"))) return arg;
    }
    return QString();
}

bool CliContext::TakeFlag(const QString& name) {
    return args_.removeOne(name);
}

int CliContext::BadUsage(const QString& text) {
    err_ << "velarix-cli: " << text << Qt::endl;
    return kBadUsage;
}

}  // namespace velarix::cli
