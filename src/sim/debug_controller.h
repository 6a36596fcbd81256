#pragma once

#include <cstdint>
#include <vector>

#include "trap_routine.h"

namespace velarix::sim {

class DebugLinkEnd;
class SimulatedDecoder;
struct JtagFaults;

// The CPU's debug controller (DCU) as the host reaches it over the debug
// link. Its commands, all values least significant byte first:
//   01h, address (4 bytes)            read: answered with a length byte L and
//                                     then L bytes from the address (L = 0
//                                     announces 256 bytes)
//   N (a multiple of 4, 0 to 252),    write: the N bytes that follow go to
//   address (4 bytes), N bytes        the address
// A first byte with its two low bits 10 or 11 is no command and is dropped.
// The words 3000h (status) and 3004h (control) are the controller's own;
// everything else is the CPU's memory.
class DebugController {
public:
    DebugController(SimulatedDecoder& decoder, DebugLinkEnd& link, const JtagFaults& faults);

    void TakeByte(std::uint8_t byte);
    // Forgets a command half received (the DCU reset line does this).
    void Reset();

    TrapRoutine& Routine() { return routine_; }
    int ReadsServed() const { return reads_; }
    int WritesServed() const { return writes_; }

    // Every command carried out, in order, for the tests.
    struct Command {
        bool read;
        std::uint32_t address;
        int count;  // bytes written; for a read, the bytes answered
        bool operator==(const Command&) const = default;
    };
    std::vector<Command> history;

private:
    enum class Step { Command, Address, Data };

    std::uint8_t Read(std::uint32_t address);
    void Write(std::uint32_t address, std::uint8_t value);
    void Answer();
    void Store();

    SimulatedDecoder& decoder_;
    DebugLinkEnd& link_;
    const JtagFaults& faults_;
    TrapRoutine routine_;
    Step step_ = Step::Command;
    std::uint8_t command_ = 0;
    int addressBytes_ = 0;
    std::uint32_t address_ = 0;
    std::vector<std::uint8_t> data_;
    std::uint32_t control_ = 0;  // the control word as last written, for its bytes
    int reads_ = 0;
    int writes_ = 0;
};

}  // namespace velarix::sim
