#include "shell/whole_file.h"

#include <QFile>
#include <QSaveFile>

namespace velarix {

FileRead ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {{}, path + QStringLiteral(": ") + file.errorString()};
    FileRead result{file.readAll(), {}};
    if (file.error() != QFileDevice::NoError) {
        result = {{}, path + QStringLiteral(": ") + file.errorString()};
    }
    return result;
}

std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return path + QStringLiteral(": ") + file.errorString();
    }
    return std::nullopt;
}

}  // namespace velarix
