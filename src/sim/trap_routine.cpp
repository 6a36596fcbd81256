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
    Carry(command);
    PutWord(Mailbox(), command | kCommandDone);
    ++commandsDone_;
}

void TrapRoutine::AfterWrite(std::uint32_t address, std::uint32_t count) {
    if (!running_ || !Covers(address, count, Mailbox())) return;
    const std::uint32_t command = Word(Mailbox());
    if (command == 0 || (command & kCommandDone)) return;
    pending_ = command;
    pollsLeft_ = std::max(1, faults_.routinePolls);
}

void TrapRoutine::Carry(std::uint32_t command) {
    const std::uint32_t m = Mailbox();
    const std::uint32_t flashAddress = Word(m + 4);
    const std::uint32_t staging = Word(m + 8);
    const std::uint32_t count = std::min(Word(m + 12), kLargestMove);
    const std::uint32_t chipOrOffset = Word(m + 16);
    const std::uint32_t eepromCount = std::min(Word(m + 20), kLargestMove);
    const std::uint32_t eepromStaging = Word(m + 24);
    constexpr int kEeprom = SimulatedDecoder::kEepromSize;
    switch (command) {
        case kProgramFlash:
            if (FlashChip* chip = decoder_.FlashAt(flashAddress)) {
                const std::uint32_t offset = flashAddress - chip->Start();
                const std::uint32_t n = std::min(count, chip->Size() - offset);
                QByteArray data(static_cast<qsizetype>(n), '\0');
                for (std::uint32_t i = 0; i < n; ++i) data[i] = char(decoder_.BusRead(staging + i));
                chip->Program(offset, data);
            }
            return;
        case kEraseBlock:
            if (FlashChip* chip = decoder_.FlashAt(flashAddress)) {
                const int sector = chip->SectorAt(flashAddress - chip->Start());
                chip->EraseSector(chip->SectorStart(sector));
            }
            return;
        case kEraseChip:
            if (FlashChip* chip = decoder_.FlashAt(chipOrOffset)) chip->EraseChip();
            return;
        case kReadEeprom: {
            // The EEPROM's address counter rolls over at its end.
            const QByteArray& eeprom = decoder_.Eeprom();
            for (std::uint32_t i = 0; i < eepromCount; ++i)
                decoder_.BusWrite(eepromStaging + i, eeprom[(chipOrOffset + i) % kEeprom]);
            return;
        }
        case kWriteEeprom: {
            QByteArray eeprom = decoder_.Eeprom();
            for (std::uint32_t i = 0; i < eepromCount; ++i)
                eeprom[(chipOrOffset + i) % kEeprom] = char(decoder_.BusRead(eepromStaging + i));
            decoder_.SetEeprom(eeprom);
            return;
        }
        default:
            return;  // a command the routine does not know is only acknowledged
    }
}

}  // namespace velarix::sim
