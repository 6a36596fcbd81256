#pragma once

#include <QDir>
#include <QTemporaryDir>

#include "eeprom/hex.h"
#include "sim_cable.h"

namespace velarix::test {

// The block table of a 16-Mbit bottom-boot chip, as its data sheet gives the
// sectors: 16K, 8K, 8K, 32K, then 31 of 64K. The simulated decoder carries
// two such chips.
inline void PutBottomBoot16Mbit(FlashChip& chip) {
    chip.numBlocks = 35;
    chip.erasureMode = 48;
    chip.boundaries.fill(0);
    const std::uint32_t first[] = {0, 0x4000, 0x6000, 0x8000, 0x10000};
    for (int i = 0; i < 5; ++i) chip.boundaries[i] = first[i];
    for (int i = 5; i <= 35; ++i) chip.boundaries[i] = 0x10000 * std::uint32_t(i - 3);
}

// SimJtag with the settings of a new installation on the simulated decoder:
// both chips of the flash type above at 7FE00000h and 60000000h, and a
// settings folder of the test's own for the backups.
struct SimFlash : SimJtag {
    QTemporaryDir folder;

    SimFlash() {
        settings.folder = folder.path() + QLatin1Char('/');
        settings.flashTypes = QStringList{QStringLiteral("AM29LV160DB")};
        for (FlashChip& chip : settings.chips) {
            chip.type = 0;
            PutBottomBoot16Mbit(chip);
        }
    }
    std::vector<sim::TrapRoutine::Carried>& Carried() {
        return target.Controller().Routine().carried;
    }
    // The block starts of the erase commands the routine carried out, in order.
    QStringList Erased() {
        QStringList blocks;
        for (const auto& c : Carried()) {
            if (c.command == sim::kEraseBlock) blocks << HexText(c.flashAddress, 8);
        }
        return blocks;
    }
    int Count(std::uint32_t command) {
        int n = 0;
        for (const auto& c : Carried()) n += c.command == command;
        return n;
    }
    QStringList Backups() const {
        return QDir(folder.filePath(QStringLiteral("backups"))).entryList(QDir::Files, QDir::Name);
    }
    QString BackupPath(const QString& name) const {
        return folder.filePath(QStringLiteral("backups/") + name);
    }
    const QByteArray& Chip1() { return decoder.Flash(0).Bytes(); }
};

}  // namespace velarix::test
