#include "shell/settings_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace velarix {

namespace {

QString WithSlash(QString folder) {
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

}  // namespace

bool FillFromSample(const QString& folder, const QString& sample) {
    if (!QDir().mkpath(folder)) return false;
    const QDir from(sample);
    for (const QString& name : from.entryList(QDir::Files)) {
        const QString target = WithSlash(folder) + name;
        if (!QFileInfo::exists(target)) QFile::copy(from.filePath(name), target);
    }
    return true;
}

QString ResolveSettingsFolder(const QString& chosen, const QString& programFolder) {
    if (!chosen.isEmpty()) return WithSlash(QFileInfo(chosen).absoluteFilePath());
    const QString beside = WithSlash(programFolder) + QStringLiteral("INIs/");
    if (QFileInfo(beside).isDir()) return beside;
    const QString user =
        WithSlash(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) +
        QStringLiteral("Velarix/");
    // Every start, not only the first: an emptied folder is filled again, and
    // what an upgrade adds (a new flash type) arrives; the person's files stay.
    FillFromSample(user, WithSlash(programFolder) + QStringLiteral("../share/velarix/INIs"));
    return user;
}

}  // namespace velarix
