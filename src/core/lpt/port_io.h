#pragma once

#include <cstdint>

#include "lpt/parallel_port.h"
#include "lpt/port_timing.h"

namespace velarix {

// The port one operation works on: its registers, its base, and the time the
// protocols wait and spin on.
struct Lpt {
    ParallelPort& port;
    PortTiming& timing;
    std::uint16_t base;
};

std::uint8_t PortIn(Lpt& lpt, std::uint16_t address);
void PortOut(Lpt& lpt, std::uint16_t address, std::uint8_t value);

// The status lines, each read afresh from base + 1.
bool IsBusy(Lpt& lpt);       // the Busy line is high (register bit 7 is its inverse)
bool IsAckHigh(Lpt& lpt);    // nAck
bool IsPaperEnd(Lpt& lpt);   // PError
bool IsSelect(Lpt& lpt);     // Select; the JTAG cable's TDO
bool IsFaultHigh(Lpt& lpt);  // nFault

// Polls the tick until more than `milliseconds` went by.
void WaitMs(Lpt& lpt, std::uint64_t milliseconds);
void WaitMs(PortTiming& timing, std::uint64_t milliseconds);
void Spin(Lpt& lpt, std::uint32_t n);

}  // namespace velarix
