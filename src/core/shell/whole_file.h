#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velarix {

// The outcome of reading a whole file: its bytes, or the system's reason.
struct FileRead {
    QByteArray bytes;
    QString error;  // empty on success
    bool ok() const { return error.isEmpty(); }
};

FileRead ReadWholeFile(const QString& path);

// Writes the file beside its final place and renames it over the old one, so
// that a failure never leaves a truncated file. Returns the system's reason on
// failure.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes);

}  // namespace velarix
