#pragma once

#include <QString>

namespace velarix {

// The folder every INI file of the program is looked up in, with its trailing
// "/": `chosen` when given (--settings); otherwise the program's folder +
// "INIs/" when that folder exists, which keeps a portable copy
// self-contained; otherwise the user's configuration folder (XDG), given at
// every start the files of the installed sample folder that it lacks.
QString ResolveSettingsFolder(const QString& chosen, const QString& programFolder);

// Copies the files of `sample` that `folder` lacks; makes `folder` if needed.
bool FillFromSample(const QString& folder, const QString& sample);

}  // namespace velarix
