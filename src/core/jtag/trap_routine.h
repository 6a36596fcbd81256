#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>

#include "shell/whole_file.h"

namespace velarix {

// The trap routine: a 696-byte routine for the decoder's CPU, loaded into
// its RAM to program flash and reach the EEPROM. It is the user's own file
// and is not interpreted here.
inline constexpr int kTrapRoutineSize = 696;
// Where the routine looks for the data it moves: this far past its start.
inline constexpr std::uint32_t kTrapStagingOffset = 0x500;

// Reads the routine when an operation needs it: its bytes, or why not.
using TrapRoutineReader = std::function<FileRead()>;

// The places the routine is looked for: "trap.bin" beside the program, then
// in the settings folder.
QStringList TrapRoutinePlaces(const QString& programFolder, const QString& settingsFolder);
// Reads the first of `places` that exists; the error names the first place
// when none does.
FileRead ReadFirstTrapRoutine(const QStringList& places);

// What stays from one JTAG operation to the next during a run: whether the
// routine was loaded, and its mailbox.
struct TrapState {
    bool loaded = false;
    std::uint32_t mailbox = 0;
};

// The mailbox commands of the routine.
enum class TrapCommandWord : std::uint32_t {
    ProgramFlash = 0x100,
    EraseBlock = 0x200,
    EraseChip = 0x400,
    ReadEeprom = 0x800,
    WriteEeprom = 0x1000,
};

}  // namespace velarix
