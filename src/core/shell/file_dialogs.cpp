#include "shell/file_dialogs.h"

namespace velarix {

QString DialogFolders::FolderOf(const QString& path) {
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0) return QString();
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

void DialogFolders::NoteChosen(const QString& path) {
    const QString folder = FolderOf(path);
    if (folder.isEmpty()) return;
    open_ = folder;
    save_ = folder;
}

QList<FilterEntry> ParseFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QList<FilterEntry> entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        entries.append({parts[i], parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts)});
    }
    return entries;
}

}  // namespace velarix
