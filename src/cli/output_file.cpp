#include "output_file.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryFile>
#include <cerrno>
#include <cstring>

#include "shell/whole_file.h"

namespace velarix::cli {

namespace {

bool IsStandardOutput(const QString& path) {
    return path == QLatin1String("-");
}

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

}  // namespace

std::optional<QString> CheckOutput(const QString& path) {
    if (IsStandardOutput(path)) return std::nullopt;
    const QFileInfo info(path);
    if (info.isDir()) return path + QStringLiteral(": ") + SystemText(EISDIR);
    if (info.exists() && !info.isFile()) {
        if (info.isWritable()) return std::nullopt;
        return path + QStringLiteral(": ") + SystemText(EACCES);
    }
    // A file is written beside its place, then renamed: its folder must take
    // a new file.
    QTemporaryFile probe(info.absoluteDir().filePath(QStringLiteral(".velarix-XXXXXX")));
    if (!probe.open()) return path + QStringLiteral(": ") + probe.errorString();
    return std::nullopt;
}

int WriteOutput(CliContext& context, const QString& path, const QByteArray& bytes) {
    if (IsStandardOutput(path)) {
        context.out().flush();
        if (!context.binaryOut || context.binaryOut->write(bytes) != bytes.size()) {
            context.err() << "-: " << SystemText(EIO) << Qt::endl;
            return kFailed;
        }
        return kDone;
    }
    if (const auto error = WriteWholeFile(path, bytes)) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    return kDone;
}

int WriteOutputThrough(CliContext& context, const QString& path,
                       const std::function<std::optional<QString>(const QString&)>& save) {
    if (!IsStandardOutput(path)) {
        if (const auto error = save(path)) {
            context.err() << *error << Qt::endl;
            return kFailed;
        }
        return kDone;
    }
    QTemporaryFile temporary;
    if (!temporary.open()) {
        context.err() << temporary.errorString() << Qt::endl;
        return kFailed;
    }
    if (const auto error = save(temporary.fileName())) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    const FileRead written = ReadWholeFile(temporary.fileName());
    if (!written.ok()) {
        context.err() << written.error << Qt::endl;
        return kFailed;
    }
    return WriteOutput(context, path, written.bytes);
}

}  // namespace velarix::cli
