#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

namespace velarix::test {

// Writes `bytes` into `path` and gives the path back.
inline QString PutFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (file.open(QIODevice::WriteOnly)) file.write(bytes);
    return path;
}

// The bytes of a file; empty when it cannot be read.
inline QByteArray FileContents(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

}  // namespace velarix::test
