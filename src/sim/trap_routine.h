#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace velarix::sim {

class FlashChip;
class SimulatedDecoder;
struct JtagFaults;

// Where the CPU keeps what the trap routine needs: the address of the
// routine's mailbox, and the trap vector the routine is entered through.
inline constexpr std::uint32_t kMailboxPointer = 0x80000048;
inline constexpr std::uint32_t kTrapVector = 0x8000004C;
inline constexpr std::uint32_t kMailboxAddress = 0x80000180;
inline constexpr std::uint32_t kDefaultTrapHandler = 0x80000100;

// The debug controller's status and control words.
inline constexpr std::uint32_t kDcuStatusAddress = 0x3000;
inline constexpr std::uint32_t kDcuControlAddress = 0x3004;
inline constexpr std::uint32_t kDcuStatus = 0x00000001;

// The mailbox commands and their completion bit.
inline constexpr std::uint32_t kProgramFlash = 0x100;
inline constexpr std::uint32_t kEraseBlock = 0x200;
inline constexpr std::uint32_t kEraseChip = 0x400;
inline constexpr std::uint32_t kReadEeprom = 0x800;
inline constexpr std::uint32_t kWriteEeprom = 0x1000;
inline constexpr std::uint32_t kCommandDone = 1;

inline constexpr int kTrapRoutineSize = 696;

// A stand-in for the trap routine that the simulated decoder runs. It is no
// code for any CPU: the simulator recognises these bytes and behaves as the
// routine would. A real decoder does nothing useful with them.
QByteArray StandInTrapRoutine();

// The trap routine as the simulated CPU runs it. Started through the
// debug controller's control word: the host writes 20000000h there once the
// trap vector points at the routine, and after a few reads the word shows
// 60000h. Then the routine serves its mailbox: the host writes a command's
// parameters after the command word and then the command word; after a few
// polls of that word the command is carried out and bit 0 is set.
//
// Flash works as the chips do: programming only clears bits, an erase sets a
// whole sector to FF. An erase-block command erases the sector holding its
// address; the erasure mode is the chip's business and is not looked at.
//
// Mailbox words (offsets from the mailbox address):
//   0 command, 4 flash address, 8 staging address, 12 byte count (program) or
//   0xA0 (EEPROM commands), 16 chip start or EEPROM offset, 20 EEPROM byte
//   count, 24 EEPROM staging address, 28 erasure mode.
class TrapRoutine {
public:
    TrapRoutine(SimulatedDecoder& decoder, const JtagFaults& faults)
        : decoder_(decoder), faults_(faults) {}

    // The control word at 3004h, as the debug controller reads and writes it.
    std::uint32_t ReadControl();
    void WriteControl(std::uint32_t value);
    // The debug controller is about to read, or has written, `count` bytes at
    // `address`.
    void BeforeRead(std::uint32_t address, std::uint32_t count);
    void AfterWrite(std::uint32_t address, std::uint32_t count);

    // A byte the debug controller reads at `address`, as the bus answers it
    // after the read-back fault had its say.
    std::uint8_t ReadBack(std::uint32_t address, std::uint8_t value);

    bool Running() const { return running_; }
    int CommandsDone() const { return commandsDone_; }
    // Every command the routine carried out, finished or not, in order.
    struct Carried {
        std::uint32_t command;
        std::uint32_t flashAddress;  // program: destination; erase block: block start;
                                     // erase chip: chip start
        std::uint32_t count;         // program: bytes
        bool finished;
        bool operator==(const Carried&) const = default;
    };
    std::vector<Carried> carried;

private:
    std::uint32_t Word(std::uint32_t address);
    void PutWord(std::uint32_t address, std::uint32_t value);
    std::uint32_t Mailbox() { return Word(kMailboxPointer); }
    bool RoutineInPlace();
    // Carries out a command; false when it never finishes.
    bool Carry(std::uint32_t command);
    // Whether the stuck-sector knob holds the sector of `address`.
    bool Stuck(const FlashChip& chip, std::uint32_t address) const;

    SimulatedDecoder& decoder_;
    const JtagFaults& faults_;
    std::uint32_t control_ = 0;
    int startPollsLeft_ = -1;  // counting down once started; -1 when not starting
    bool running_ = false;
    std::uint32_t pending_ = 0;  // the command being carried out, 0 for none
    int pollsLeft_ = 0;
    int commandsDone_ = 0;
    bool readBackArmed_ = false;
    bool readBackUsed_ = false;
};

}  // namespace velarix::sim
