#pragma once

#include <QByteArray>
#include <functional>
#include <optional>

#include "cli_context.h"

namespace velarix::cli {

// The page "Firmware (JTag)" on the command line: `jtag idcode`, `jtag read`,
// `jtag read-eeprom`, `jtag write`, `jtag write-eeprom` and `jtag erase`.
// Parallel option: --lpt PORT; the trap routine is trap.bin beside the
// program, else in the settings folder, or --trap FILE.
int JtagIdcode(CliContext& context);
int JtagRead(CliContext& context);
int JtagReadEeprom(CliContext& context);
int JtagWrite(CliContext& context);
int JtagWriteEeprom(CliContext& context);
int JtagErase(CliContext& context);

// `checksum`: the 20 block checksums of a firmware file, and the file
// stamped with them.
int FirmwareChecksum(CliContext& context);

// Saves a channel table read over JTAG (`ram`: the RAM table, else the flash
// table) to `path` as "Guardar como..." would; the reason when it cannot.
// The channel tables' own saving unless a test hands in another.
using JtagTableSaver = std::function<std::optional<QString>(
    const QByteArray& bytes, bool ram, const QString& path, const Settings& settings)>;
JtagTableSaver& JtagTableSaving();

}  // namespace velarix::cli
