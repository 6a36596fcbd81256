#include "jtag/safe_flashing.h"

#include <QDir>
#include <algorithm>

#include "eeprom/hex.h"
#include "jtag/cpu_identification.h"
#include "jtag/target_access.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/whole_file.h"

namespace velarix {

namespace {

constexpr int kIdentificationReads = 3;

QString Range(std::uint32_t start, std::int64_t count) {
    return HexText(start, 8) + QLatin1Char('-') +
           HexText(std::uint32_t(start + std::uint64_t(std::max<std::int64_t>(count, 1)) - 1), 8);
}

}  // namespace

QByteArray ReadTargetRange(TargetAccess& access, std::uint32_t address, std::int64_t count,
                           const std::function<void(std::int64_t)>& progress) {
    constexpr qsizetype kShowEvery = 0x1000;
    QByteArray bytes;
    TargetAccess::Block block{};
    while (bytes.size() < count) {
        const int got = access.ReadBlock(address + std::uint32_t(bytes.size()), block);
        if (got == 0) break;
        const qsizetype take = std::min<qsizetype>(got, count - bytes.size());
        bytes.append(reinterpret_cast<const char*>(block.data()), take);
        if (progress && bytes.size() % kShowEvery == 0) progress(bytes.size());
    }
    return bytes;
}

std::int64_t BytesChanged(const QByteArray& current, std::uint32_t blockStart,
                          std::uint32_t destination, QByteArrayView data) {
    const std::int64_t from = std::int64_t(destination) - blockStart;
    std::int64_t changes = 0;
    for (qsizetype i = 0; i < current.size(); ++i) {
        const std::int64_t k = i - from;
        const char after = (k >= 0 && k < data.size()) ? data[k] : '\xFF';
        if (current[i] != after) ++changes;
    }
    return changes;
}

QString BlockPlanLine(const BlockPlan& plan) {
    const QString range = Range(plan.start, std::int64_t(plan.end) - plan.start);
    if (plan.skip) return range + QStringLiteral(" : ") + Msg(427);
    return range + QStringLiteral(" : ") + Msg(428) + QStringLiteral("; ") + Msg(429) +
           QString::number(plan.changes);
}

QString RamPlanLine(std::uint32_t start, std::int64_t count, std::int64_t changes) {
    return Range(start, count) + QStringLiteral(" : ") + Msg(357) + QStringLiteral("; ") +
           Msg(429) + QString::number(changes);
}

bool CableIsSteady(TargetAccess& access, OperationFrame& frame) {
    std::uint32_t ids[kIdentificationReads];
    for (std::uint32_t& id : ids) id = access.Driver().ReadIdcode();
    bool steady = IsIdcodeAnswer(ids[0]);
    for (std::uint32_t id : ids) steady = steady && id == ids[0];
    // The status is read here without the message a failed status read
    // brings elsewhere: this check has its own.
    TargetAccess::Block status{};
    steady = steady && access.ReadBlock(TargetAccess::kDcuStatus, status) != 0;
    if (!steady) {
        frame.AddLogLine(LogPane::Jtag, Msg(425));
        frame.ShowMessage(BoxKind::Error, Msg(425));
    }
    return steady;
}

QString BackupFileName(const QDateTime& when, int chip, std::uint32_t address) {
    return when.toString(QStringLiteral("yyyyMMdd-HHmmss")) + QStringLiteral("-chip") +
           QString::number(chip) + QLatin1Char('-') + HexText(address, 8) + QStringLiteral(".bin");
}

BackupWritten SaveBackup(const QString& settingsFolder, const QDateTime& when, int chip,
                         std::uint32_t address, const QByteArray& bytes) {
    BackupWritten result;
    if (settingsFolder.isEmpty()) {
        result.error = QStringLiteral("backups/");
        return result;
    }
    QDir folder(settingsFolder);
    if (!folder.mkpath(QStringLiteral("backups")) || !folder.cd(QStringLiteral("backups"))) {
        result.error = folder.filePath(QStringLiteral("backups"));
        return result;
    }
    const QString name = BackupFileName(when, chip, address);
    QString path = folder.filePath(name);
    for (int n = 2; QFileInfo::exists(path); ++n) {
        path = folder.filePath(name.chopped(4) + QLatin1Char('-') + QString::number(n) +
                               QStringLiteral(".bin"));
    }
    if (const auto error = WriteWholeFile(path, bytes)) {
        result.error = *error;
        return result;
    }
    result.path = QDir::toNativeSeparators(path);
    return result;
}

}  // namespace velarix
