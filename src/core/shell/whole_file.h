#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

namespace velarix {

// The outcome of reading a whole file: its bytes, or the system's reason.
struct FileRead {
    QByteArray bytes;
    QString error;     // empty on success
    bool cut = false;  // the file went on beyond what was read
    bool ok() const { return error.isEmpty(); }
};

// The whole file, up to 64 MiB; a longer one is refused with a reason.
FileRead ReadWholeFile(const QString& path);

// The first `limit` bytes of a file at most, however long it is or whether it
// ends at all (a device, a pipe): `cut` tells that more followed.
FileRead ReadFileHead(const QString& path, qint64 limit);

// Writes the file beside its final place and renames it over the old one, so
// that a failure never leaves a truncated file. A symbolic link is followed
// and stays a link; what is no regular file (a device, a pipe, or a link to
// one) is written in place, since it cannot be replaced. Returns the system's
// reason on failure.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes);

// The same, with the file beside named by `scratchTemplate` (a file name
// whose XXXXXX become random letters and digits), so that what a kill
// between writing and renaming leaves can be told from the person's files.
std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes,
                                      const QString& scratchTemplate);

}  // namespace velarix
