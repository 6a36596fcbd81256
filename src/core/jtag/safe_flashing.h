#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

namespace velarix {

class OperationFrame;
class TargetAccess;

// What a write will do to one flash block, worked out by reading the block
// before anything is erased: whether it is skipped (a whole block whose
// contents already match), and how many of its bytes change. A block that is
// erased loses every byte the image does not cover, so those count too.
struct BlockPlan {
    std::uint32_t start = 0;        // the block, start ...
    std::uint32_t end = 0;          // ... to end, not included
    std::uint32_t destination = 0;  // where the image's bytes go in it
    std::int64_t imageOffset = 0;   // the first of them in the image
    std::int64_t count = 0;         // how many
    bool skip = false;
    std::int64_t changes = 0;
    QByteArray contents;  // the block as read
};

// Reads `count` bytes from `address` block after block, stopping at the first
// read that brings nothing; the bytes read, possibly fewer than asked.
// `progress`, when given, hears how many bytes came in, every 4 KiB.
QByteArray ReadTargetRange(TargetAccess& access, std::uint32_t address, std::int64_t count,
                           const std::function<void(std::int64_t)>& progress = {});

// The bytes of `current` (a block of flash starting at `blockStart`) that
// differ from what the block holds after it is erased and `data` is
// programmed at `destination`.
std::int64_t BytesChanged(const QByteArray& current, std::uint32_t blockStart,
                          std::uint32_t destination, QByteArrayView data);

// A dry run's line for a block: its range, then whether it would be skipped
// or erased and programmed, and how many bytes would change.
QString BlockPlanLine(const BlockPlan& plan);
// The same for a write to RAM, which has no blocks.
QString RamPlanLine(std::uint32_t start, std::int64_t count, std::int64_t changes);

// Before anything is erased: the identification register read three times
// and the debug controller's status word read once. True when the three
// values are the same real answer and the status came; otherwise the person
// is told that the cable or the power is not reliable.
bool CableIsSteady(TargetAccess& access, OperationFrame& frame);

// Backups of what an erase is about to destroy, in "backups/" in the
// settings folder, named by date and time, chip and start address:
// 20240131-142500-chip1-7FE10000.bin (a second backup within the same second
// gets "-2", and so on). The file holds the bytes from that address on, so
// writing it back at that address restores them.
QString BackupFileName(const QDateTime& when, int chip, std::uint32_t address);
struct BackupWritten {
    QString path;   // the file written
    QString error;  // the reason, when none was
};
BackupWritten SaveBackup(const QString& settingsFolder, const QDateTime& when, int chip,
                         std::uint32_t address, const QByteArray& bytes);

}  // namespace velarix
