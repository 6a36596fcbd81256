#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

#include "jtag/jtag_driver.h"
#include "jtag/trap_routine.h"

namespace velarix {

class OperationFrame;

// The decoder's CPU as the JTAG link reaches it through its debug controller
// (DCU): memory read and written in blocks, the DCU reset, the trap routine
// loaded and given commands through its mailbox, and bulk transfers that
// show their progress on the "Firmware (JTag)" page. One object serves one
// operation; what must outlive it (the routine loaded, its mailbox) is in
// the TrapState it is given. All values on the link are little-endian.
//
// Link commands: a read is 01h and the address, answered by a length byte L
// and then L and FCh bytes (256 when that is 0); a write is the byte count
// (a multiple of 4 up to 252), the address and the bytes. Every command
// starts by draining bytes the target still had for us.
class TargetAccess {
public:
    static constexpr int kBlockSize = 256;
    using Block = std::array<std::uint8_t, kBlockSize>;
    static constexpr int kLargestWrite = 252;
    static constexpr std::uint32_t kDcuStatus = 0x3000;
    static constexpr std::uint32_t kDcuControl = 0x3004;
    static constexpr std::uint32_t kMailboxPointer = 0x80000048;
    static constexpr std::uint32_t kTrapVector = 0x8000004C;
    // Polls each mailbox command may take.
    static constexpr int kCommandPolls = 1000;
    static constexpr int kWriteEepromPolls = 7500;

    TargetAccess(JtagDriver& driver, OperationFrame& frame, TrapState& trap,
                 TrapRoutineReader trapRoutine);

    // The bytes one read brought into `block` (0 on failure).
    int ReadBlock(std::uint32_t address, Block& block);
    // Writes `count` bytes (a multiple of 4, at most 252); `count` or 0.
    int WriteBlock(std::uint32_t address, const std::uint8_t* data, int count);
    bool WriteWord(std::uint32_t address, std::uint32_t value);
    // A failed read of the DCU status word is reported to the person.
    bool ReadWord(std::uint32_t address, std::uint32_t& value);

    void DcuResetOn();
    void DcuResetOff();

    bool InstallTrapVector(std::uint32_t trapAddress);
    bool LoadTrapHandler(std::uint32_t trapAddress);

    // The five mailbox commands, each with its log line. "Escribiendo en la
    // eeprom..." is the caller's, before the data goes to the staging area.
    bool TrapProgramFlash(std::uint32_t destination, std::uint32_t staging, std::uint32_t count,
                          std::uint32_t chipStart);
    bool TrapEraseBlock(std::uint32_t blockStart, std::uint32_t chipStart,
                        std::uint8_t erasureMode);
    bool TrapEraseChip(std::uint32_t chipStart);
    bool TrapReadEeprom(std::uint32_t offset, std::uint32_t count, std::uint32_t staging);
    bool TrapWriteEeprom(std::uint32_t offset, std::uint32_t count, std::uint32_t staging);

    // Reads `count` bytes from `start` into `buffer`, block after block, with
    // progress; returns the bytes received, which may pass `count` by up to a
    // block. Nothing goes past the end of `buffer`.
    std::int64_t ReadMemory(QByteArray& buffer, std::int64_t count, std::uint32_t start);
    // Writes `count` bytes to `target` in blocks of up to 252 and a last word
    // for a tail of 1 to 3 bytes; the address field shows `shown` onwards and
    // the progress bar `offset` onwards. Returns the bytes written.
    std::int64_t WriteMemory(const std::uint8_t* source, std::uint32_t target, std::uint32_t shown,
                             std::int64_t offset, std::int64_t count);
    std::int64_t WriteMemoryToRam(const std::uint8_t* source, std::uint32_t target,
                                  std::int64_t count);

    // A block came with more bytes than its length byte announced: the link
    // lost step, and nothing more is taken from it in this operation.
    bool LinkFaultSeen() const { return linkFault_; }
    JtagDriver& Driver() { return driver_; }

private:
    struct TrapParameter {
        int offset;
        std::uint32_t value;
    };
    bool TrapCommand(TrapCommandWord command, std::initializer_list<TrapParameter> parameters,
                     int pollLimit);
    // Takes what the target still had to send, at most `limit` bytes; false
    // when it would not stop.
    bool Drain(int limit);
    // After a read: the target has nothing more to send.
    bool LinkQuiet();
    void ShowRate(std::int64_t done, std::int64_t left, std::uint32_t startTick,
                  const QString& gap);
    void Log(const QString& line);
    void LogAndShowError(const QString& text);
    std::uint32_t Tick();

    JtagDriver& driver_;
    OperationFrame& frame_;
    TrapState& trap_;
    TrapRoutineReader trapRoutine_;
    bool blockTaken_ = false;  // a block was read since the last drain
    bool linkFault_ = false;
    double speed_ = 0;  // the last speed shown, in KiB per second
};

}  // namespace velarix
