#include "window_options.h"

#include <QFileInfo>

#include "shell/language.h"
#include "shell/message_table.h"
#include "shell/settings_folder.h"
#include "shell/title.h"
#include "tform1.h"

namespace velarix::gui {

namespace {

// The value after `name`, when there is one.
std::optional<QString> ValueOf(const QStringList& args, const QString& name) {
    const qsizetype at = args.indexOf(name);
    if (at < 0 || at + 1 >= args.size()) return std::nullopt;
    return args.at(at + 1);
}

// The first argument that is no option of the window's, or an option of
// the window's without its value. Single-dash options are Qt's own
// (-platform offscreen, -style fusion), left to Qt with their values.
std::optional<QString> FirstUnknownArgument(const QStringList& args) {
    static const QStringList flags{"--demo", "--version", "--help", "-h"};
    static const QStringList withValue{"--port", "--lpt", "--settings", "--language"};
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (flags.contains(arg)) continue;
        if (withValue.contains(arg)) {
            if (++i >= args.size()) return arg;
            continue;
        }
        if (arg.startsWith(QLatin1Char('-')) && !arg.startsWith(QLatin1String("--"))) {
            if (i + 1 < args.size() && !args.at(i + 1).startsWith(QLatin1Char('-'))) ++i;
            continue;
        }
        return arg;
    }
    return std::nullopt;
}

}  // namespace

QString WindowUsage() {
    return QStringLiteral(
        "usage: velarix [--demo] [--port DEVICE] [--lpt PORT] [--settings DIR] [--language NAME]\n"
        "  --demo            run on the built-in simulated decoder, on both cables\n"
        "  --port DEVICE     the serial port for this run (the stored one is kept)\n"
        "  --lpt PORT        the parallel port: 278, 378, 3BC, A068, 2000 (direct port I/O),\n"
        "                    /dev/parportN (ppdev), unix:PATH (a port model) or sim\n"
        "  --settings DIR    the settings folder (default: the one beside the program)\n"
        "  --language NAME   the language file for this run (NAME.ini in the settings folder)\n"
        "  --version         print the program's title and end\n"
        "  --help            print this and end\n");
}

std::optional<int> EndBeforeTheWindow(const QStringList& args, QTextStream& out, QTextStream& err) {
    if (args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"))) {
        out << WindowUsage();
        out.flush();
        return 0;
    }
    if (args.contains(QStringLiteral("--version"))) {
        out << TitleText() << Qt::endl;
        return 0;
    }
    if (const auto unknown = FirstUnknownArgument(args)) {
        err << "velarix: unknown argument or missing value: " << *unknown << Qt::endl
            << WindowUsage();
        err.flush();
        return 2;
    }
    if (const auto folder = ValueOf(args, QStringLiteral("--settings"))) {
        const QFileInfo info(*folder);
        if (info.exists() && !info.isDir()) {
            err << "velarix: " << Msg(437) << *folder << Qt::endl;
            return 2;
        }
    }
    return std::nullopt;
}

void TakeWindowOptions(const QStringList& args, const QString& programFolder,
                       WindowServices& services, QTextStream& err) {
    if (const auto folder = ValueOf(args, QStringLiteral("--settings")))
        services.settingsFolder = *folder;
    const auto language = ValueOf(args, QStringLiteral("--language"));
    if (!language) return;
    const QString file =
        LanguageFilePath(ResolveSettingsFolder(services.settingsFolder, programFolder), *language);
    if (!QFileInfo::exists(file)) {
        err << "velarix: " << Msg(436) << file << Qt::endl;
        return;
    }
    services.language = *language;
}

}  // namespace velarix::gui
