#include "jtag/trap_routine.h"

#include <QDir>
#include <QFileInfo>

namespace velarix {

QStringList TrapRoutinePlaces(const QString& programFolder, const QString& settingsFolder) {
    QStringList places;
    for (const QString& folder : {programFolder, settingsFolder}) {
        if (folder.isEmpty()) continue;
        const QString place = QDir(folder).filePath(QStringLiteral("trap.bin"));
        if (!places.contains(place)) places << place;
    }
    return places;
}

FileRead ReadFirstTrapRoutine(const QStringList& places) {
    for (const QString& place : places) {
        if (QFileInfo(place).isFile()) return ReadWholeFile(place);
    }
    FileRead missing;
    missing.error = places.isEmpty() ? QStringLiteral("trap.bin") : places.first();
    return missing;
}

}  // namespace velarix
