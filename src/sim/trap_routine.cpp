#include "trap_routine.h"

#include <algorithm>

#include "jtag_faults.h"
#include "simulated_decoder.h"

namespace velarix::sim {

namespace {

constexpr std::uint32_t kStartRequest = 0x20000000;
constexpr std::uint32_t kStarted = 0x60000;
// No command moves more than this; a count beyond it is the host's mistake.
constexpr std::uint32_t kLargestMove = 0x100000;

bool Covers(std::uint32_t start, std::uint32_t count, std::uint32_t word) {
    return word - start < count;
}

}  // namespace

QByteArray StandInTrapRoutine() {
    QByteArray bytes(
        "VELARIX-SIM-TRAP stand-in for the simulated decoder only; not code for any CPU. ");
    std::uint32_t x = 0x1D872B41;
    while (bytes.size() < kTrapRoutineSize) {
        x = x * 1664525u + 1013904223u;
        bytes.append(static_cast<char>(x >> 24));
    }
    return bytes.left(kTrapRoutineSize);
}

std::uint32_t TrapRoutine::Word(std::uint32_t address) {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) value |= std::uint32_t(decoder_.BusRead(address + i)) << (8 * i);
    return value;
}

void TrapRoutine::PutWord(std::uint32_t address, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) decoder_.BusWrite(address + i, std::uint8_t(value >> (8 * i)));
}

bool TrapRoutine::RoutineInPlace() {
    static const QByteArray routine = StandInTrapRoutine();
    const std::uint32_t at = Word(kTrapVector);
    for (int i = 0; i < kTrapRoutineSize; ++i) {
        if (decoder_.BusRead(at + i) != std::uint8_t(routine[i])) return false;
    }
    return true;
}

std::uint32_t TrapRoutine::ReadControl() {
    if (startPollsLeft_ >= 0 && --startPollsLeft_ <= 0) {
        startPollsLeft_ = -1;
        control_ = kStarted;
        running_ = true;
    }
    return control_;
}

// A start request runs the routine the trap vector points at; a routine the
// simulator does not know never reports back.
void TrapRoutine::WriteControl(std::uint32_t value) {
    control_ = value;
    startPollsLeft_ = -1;
    if (value == kStartRequest && RoutineInPlace()) {
        running_ = false;
        pending_ = 0;
        startPollsLeft_ = std::max(1, faults_.startPolls);
    }
}

void TrapRoutine::BeforeRead(std::uint32_t address, std::uint32_t count) {
    if (!running_ || pending_ == 0 || !Covers(address, count, Mailbox())) return;
    if (--pollsLeft_ > 0) return;
    const std::uint32_t command = pending_;
    pending_ = 0;
    if (!Carry(command)) return;  // the command word never shows it done
    PutWord(Mailbox(), command | kCommandDone);
    ++commandsDone_;
}

std::uint8_t TrapRoutine::ReadBack(std::uint32_t address, std::uint8_t value) {
    if (readBackArmed_ && faults_.readBackDiffersOnceAt == address) {
        readBackArmed_ = false;
        readBackUsed_ = true;
        return std::uint8_t(~value);
    }
    return value;
}

bool TrapRoutine::Stuck(const FlashChip& chip, std::uint32_t address) const {
    if (!faults_.stuckFlashAt || !chip.Contains(*faults_.stuckFlashAt) || !chip.Contains(address))
        return false;
    return chip.SectorAt(*faults_.stuckFlashAt - chip.Start()) ==
           chip.SectorAt(address - chip.Start());
}

void TrapRoutine::AfterWrite(std::uint32_t address, std::uint32_t count) {
    if (!running_ || !Covers(address, count, Mailbox())) return;
    const std::uint32_t command = Word(Mailbox());
    if (command == 0 || (command & kCommandDone)) return;
    pending_ = command;
    pollsLeft_ = std::max(1, faults_.routinePolls);
}

bool TrapRoutine::Carry(std::uint32_t command) {
    const std::uint32_t m = Mailbox();
    const std::uint32_t flashAddress = Word(m + 4);
    const std::uint32_t staging = Word(m + 8);
    const std::uint32_t count = std::min(Word(m + 12), kLargestMove);
    const std::uint32_t chipOrOffset = Word(m + 16);
    const std::uint32_t eepromCount = std::min(Word(m + 20), kLargestMove);
    const std::uint32_t eepromStaging = Word(m + 24);
    constexpr int kEeprom = SimulatedDecoder::kEepromSize;
    bool finished = true;
    switch (command) {
        case kProgramFlash:
            if (FlashChip* chip = decoder_.FlashAt(flashAddress)) {
                const std::uint32_t offset = flashAddress - chip->Start();
                const std::uint32_t n = std::min(count, chip->Size() - offset);
                // A stuck sector keeps its bytes (programming FF changes
                // nothing); the others still take theirs.
                QByteArray data(static_cast<qsizetype>(n), '\xFF');
                for (std::uint32_t i = 0; i < n; ++i) {
                    if (Stuck(*chip, flashAddress + i)) {
                        finished = false;
                    } else {
                        data[i] = char(decoder_.BusRead(staging + i));
                    }
                }
                chip->Program(offset, data);
                const auto flip = faults_.readBackDiffersOnceAt;
                if (flip && !readBackUsed_ && *flip - flashAddress < n) readBackArmed_ = true;
            }
            break;
        case kEraseBlock:
            if (FlashChip* chip = decoder_.FlashAt(flashAddress)) {
                if (Stuck(*chip, flashAddress)) {
                    finished = false;
                } else {
                    const int sector = chip->SectorAt(flashAddress - chip->Start());
                    chip->EraseSector(chip->SectorStart(sector));
                }
            }
            break;
        case kEraseChip:
            if (FlashChip* chip = decoder_.FlashAt(chipOrOffset)) {
                for (int sector = 0; sector < chip->SectorCount(); ++sector) {
                    if (Stuck(*chip, chip->Start() + chip->SectorStart(sector))) {
                        finished = false;
                    } else {
                        chip->EraseSector(chip->SectorStart(sector));
                    }
                }
            }
            break;
        case kReadEeprom: {
            // The EEPROM's address counter rolls over at its end.
            const QByteArray& eeprom = decoder_.Eeprom();
            for (std::uint32_t i = 0; i < eepromCount; ++i)
                decoder_.BusWrite(eepromStaging + i, eeprom[(chipOrOffset + i) % kEeprom]);
            break;
        }
        case kWriteEeprom: {
            QByteArray eeprom = decoder_.Eeprom();
            for (std::uint32_t i = 0; i < eepromCount; ++i)
                eeprom[(chipOrOffset + i) % kEeprom] = char(decoder_.BusRead(eepromStaging + i));
            decoder_.SetEeprom(eeprom);
            break;
        }
        default:
            break;  // a command the routine does not know is only acknowledged
    }
    const bool flash = command == kProgramFlash || command == kEraseBlock || command == kEraseChip;
    if (flash && !finished && faults_.stuckFlashReportsDone) finished = true;
    carried.push_back({command, command == kEraseChip ? chipOrOffset : flashAddress,
                       command == kProgramFlash ? count : 0, finished});
    return finished;
}

}  // namespace velarix::sim
