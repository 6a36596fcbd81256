#include "shell/whole_file.h"

#include "shell/message_table.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace velarix {

// Far above any image, table or settings file; a device or a pipe that never
// ends (/dev/zero) is refused instead of filling the memory.
constexpr qint64 kLargestWholeFile = 64 << 20;

FileRead ReadWholeFile(const QString& path) {
    FileRead read = ReadFileHead(path, kLargestWholeFile);
    if (read.ok() && read.cut) return {{}, path + QStringLiteral(": ") + Msg(438)};
    return read;
}

FileRead ReadFileHead(const QString& path, qint64 limit) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Unbuffered))
        return {{}, path + QStringLiteral(": ") + file.errorString()};
    FileRead result;
    // One byte past the limit tells whether the file goes on.
    while (result.bytes.size() <= limit) {
        const QByteArray chunk =
            file.read(std::min<qint64>(limit + 1 - result.bytes.size(), 1 << 16));
        if (chunk.isEmpty()) break;
        result.bytes += chunk;
    }
    if (file.error() != QFileDevice::NoError)
        return {{}, path + QStringLiteral(": ") + file.errorString()};
    if (result.bytes.size() > limit) {
        result.bytes.truncate(limit);
        result.cut = true;
    }
    return result;
}

namespace {

std::optional<QString> WriteInPlace(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size()) {
        return path + QStringLiteral(": ") + file.errorString();
    }
    return std::nullopt;
}

}  // namespace

std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    // A device, FIFO or pipe, also behind links, is opened by the name given:
    // /dev/stdout on a pipe links to "pipe:[N]", which only the kernel can follow.
    if (info.exists() && !info.isFile() && !info.isDir()) return WriteInPlace(path, bytes);
    QString target = path;
    if (info.isSymLink()) target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    QSaveFile file(target);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        return path + QStringLiteral(": ") + file.errorString();
    }
    return std::nullopt;
}

std::optional<QString> WriteWholeFile(const QString& path, const QByteArray& bytes,
                                      const QString& scratchTemplate) {
    const QFileInfo info(path);
    if (info.exists() && !info.isFile() && !info.isDir()) return WriteInPlace(path, bytes);
    QString target = path;
    if (info.isSymLink()) target = info.exists() ? info.canonicalFilePath() : info.symLinkTarget();
    const QFileInfo place(target);
    QTemporaryFile scratch(place.absoluteDir().filePath(scratchTemplate));
    if (!scratch.open() || scratch.write(bytes) != bytes.size() || !scratch.flush())
        return path + QStringLiteral(": ") + scratch.errorString();
    // The replaced file's permissions, or those a new file of the person's gets.
    scratch.setPermissions(place.exists() ? QFile::permissions(target)
                                          : QFile::ReadOwner | QFile::WriteOwner |
                                                QFile::ReadGroup | QFile::ReadOther);
    if (::fsync(scratch.handle()) != 0 ||
        std::rename(QFile::encodeName(scratch.fileName()).constData(),
                    QFile::encodeName(place.absoluteFilePath()).constData()) != 0) {
        return path + QStringLiteral(": ") + QString::fromLocal8Bit(std::strerror(errno));
    }
    scratch.setAutoRemove(false);
    return std::nullopt;
}

}  // namespace velarix
