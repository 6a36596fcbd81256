#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>
#include <optional>

namespace velarix::gui {

struct WindowServices;

// The options of `velarix` that are read before the window exists: --help
// and --version print and end the program; an argument the window does not
// know, an option without its value, and a --settings that names a file
// rather than a folder end it with status 2. Returns the status to end
// with, or nothing to go on. Needs no display.
std::optional<int> EndBeforeTheWindow(const QStringList& args, QTextStream& out, QTextStream& err);

// --settings DIR and --language NAME for the window: the folder, and a
// language for this run only. A language with no file in the settings
// folder is named on standard error and left out. `programFolder` is where
// the settings folder is looked for without --settings.
void TakeWindowOptions(const QStringList& args, const QString& programFolder,
                       WindowServices& services, QTextStream& err);

// What --help prints.
QString WindowUsage();

}  // namespace velarix::gui
