#pragma once

#include <QString>

namespace velarix {

// The program's title: the main window's caption and what `--version` prints.
inline QString TitleText() {
    return QStringLiteral("Velarix v4.05");
}

// The version text of the "Acerca de..." page: the title from its first
// lower-case "v" to its end, followed by one blank.
inline QString VersionText() {
    const QString title = TitleText();
    const qsizetype v = title.indexOf(QLatin1Char('v'));
    return (v < 0 ? title : title.mid(v)) + QLatin1Char(' ');
}

}  // namespace velarix
