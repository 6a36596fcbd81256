#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

#include "jtag/memory_readout.h"
#include "jtag/safe_flashing.h"

namespace velarix {

class EepromImage;
struct JtagEnvironment;

// A channel table to send, as whoever holds the tables gives it: the image
// to write, or the message to show instead (no table loaded, say).
struct TableImageToSend {
    QByteArray bytes;
    QString refusal;
};
using TableImageSource = std::function<TableImageToSend()>;

// What "Enviar" takes for each source of the group " Usar ". A source left
// empty has nothing to give: a table source then says that no channel list
// is loaded.
struct SendSources {
    // "Archivo": the file to write, asked first; none cancels.
    std::function<std::optional<QString>()> chooseFile;
    // "Tabla canales FLASH": the table image rebuilt for flash.
    TableImageSource flashTable;
    // "Tabla canales RAM": the table records as RAM holds them.
    TableImageSource ramTable;
    // "Eeprom": the image of the hex editor.
    const EepromImage* eeprom = nullptr;
};

enum class SendOutcome { Cancelled, NoPort, Refused, Failed, Done, DryRun };

struct SendResult {
    SendOutcome outcome = SendOutcome::Cancelled;
    std::int64_t size = 0;     // the bytes to send
    std::int64_t written = 0;  // the bytes counted as sent
    int chip = 0;              // 1 or 2; 0 for RAM (or nothing chosen)
    // Blocks the person chose to ignore after they failed: not written.
    QList<std::uint32_t> ignoredBlocks;
    // The backup of the blocks erased, when any was erased.
    QString backup;
    // A dry run: what would happen to each block, or to RAM.
    std::vector<BlockPlan> plan;
    std::optional<std::int64_t> ramChanges;
};

// A write that only reads and compares: the flash, RAM and the trap routine
// are left alone, and what would happen is given back instead.
struct WriteOptions {
    bool dryRun = false;
    // Retry answers taken for one block before the next one counts as
    // Abort; 0 for no limit (a person answers each box).
    int retriesPerBlock = 0;
};

// "Enviar": sends what the chosen source holds to the address (and, for
// "Eeprom", the length) in the page's boxes. "Imagen capturada" sends nothing.
SendResult SendToTarget(JtagEnvironment& environment, ReadDestination source,
                        const QString& addressText, const QString& lengthText,
                        const SendSources& sources);

// A file into chip 1, chip 2 or RAM, chosen by the address: the file is asked
// for and read whole, then written as WriteImageToTarget does.
SendResult WriteFileToTarget(JtagEnvironment& environment, const QString& addressText,
                             const std::function<std::optional<QString>()>& chooseFile);

// An image into chip 1 (stamped with the block checksums when the settings
// ask for them), chip 2, or RAM when the address lies in neither chip. Flash
// is written block by block: a whole block that already holds its bytes is
// skipped unless "Forzar escritura en todos los bloques"; every other block is
// erased and programmed through the trap routine's staging area, and read
// back when "Verificar escritura en Flash". A failing block asks Abort, Retry
// or Ignore.
//
// Before the first erase every block of the write is read once: the blocks
// about to be erased are saved to a backup file in the settings folder, and
// the cable is checked; if either fails, nothing is erased.
SendResult WriteImageToTarget(JtagEnvironment& environment, const QString& addressText,
                              QByteArray image, const WriteOptions& options = {});

// "Tabla canales FLASH": the rebuilt table into chip 2, never stamped; the
// address must lie inside chip 2.
SendResult WriteFlashChannelTable(JtagEnvironment& environment, const QString& addressText,
                                  const TableImageSource& table);

// "Tabla canales RAM": the table records into RAM at an address from
// 40000000h on.
SendResult WriteRamChannelTable(JtagEnvironment& environment, const QString& addressText,
                                const TableImageSource& table);

// "Eeprom": `length` bytes of the image from `address` (within the 2048
// bytes) through the trap routine into the decoder's EEPROM. Every cell of
// that range must hold a byte; the first that does not is named and nothing
// is sent.
SendResult WriteEepromToTarget(JtagEnvironment& environment, const QString& addressText,
                               const QString& lengthText, const EepromImage& image);

}  // namespace velarix
