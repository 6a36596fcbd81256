#include "lpt/port_io.h"

namespace velarix {

std::uint8_t PortIn(Lpt& lpt, std::uint16_t address) {
    lpt.timing.Accessed();
    return lpt.port.In(address);
}

void PortOut(Lpt& lpt, std::uint16_t address, std::uint8_t value) {
    lpt.timing.Accessed();
    lpt.port.Out(address, value);
}

namespace {

bool StatusBit(Lpt& lpt, int bit) {
    return (PortIn(lpt, lpt.base + kStatusRegister) >> bit) & 1;
}

}  // namespace

bool IsBusy(Lpt& lpt) {
    return !StatusBit(lpt, 7);
}
bool IsAckHigh(Lpt& lpt) {
    return StatusBit(lpt, 6);
}
bool IsPaperEnd(Lpt& lpt) {
    return StatusBit(lpt, 5);
}
bool IsSelect(Lpt& lpt) {
    return StatusBit(lpt, 4);
}
bool IsFaultHigh(Lpt& lpt) {
    return StatusBit(lpt, 3);
}

void WaitMs(Lpt& lpt, std::uint64_t milliseconds) {
    WaitMs(lpt.timing, milliseconds);
}

void WaitMs(PortTiming& timing, std::uint64_t milliseconds) {
    const Deadline deadline(timing.Tick(), milliseconds);
    while (!deadline.PassedAt(timing.Tick())) {
    }
}

void Spin(Lpt& lpt, std::uint32_t n) {
    lpt.timing.Spin(n);
}

}  // namespace velarix
