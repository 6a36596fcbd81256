#pragma once

#include <cstdint>

#include "lpt/port_io.h"

namespace velarix {

// The two settings the JTAG cable runs on.
struct JtagTiming {
    std::uint32_t tckSpins = 0;          // DuracionTCK: Spin count for each half of TCK
    std::uint32_t waitStartBits = 1024;  // WStartBits: clocks a byte may take to start
};

// The JTAG cable on the parallel port's data register, clocked bit by bit:
// TMS on data bit 0, TCK on bit 1, TDI on bit 2, the DCU reset line on bit 3,
// bits 4 to 7 always 0; TDO read on Select (status bit 4). The control
// register is never touched.
//
// Besides walking the test access port and reading the identification
// register, the driver carries the byte link to the CPU's debug controller
// inside the data register (instruction 10h): one link bit per TCK with TMS
// at 0. A host data byte goes out as 0, 1, 1, eight data bits least
// significant first, a wait for the target's acknowledge, then 0; a target
// data byte is recognised by 0, 1, 1 on TDO followed by its eight bits; an
// acknowledge is 1, 0 after a 0.
class JtagDriver {
public:
    static constexpr std::uint8_t kIdcodeInstruction = 0x02;
    static constexpr std::uint8_t kLinkInstruction = 0x10;
    // How long an acknowledge may take once a byte is out.
    static constexpr int kAckLimit = 64;
    // However often the target acknowledges, a wait for a byte ends after
    // this many times its limit.
    static constexpr int kWaitBound = 16;

    JtagDriver(Lpt& lpt, JtagTiming timing);

    // One TCK period with TMS and TDI as given; returns TDO as it stood before
    // the rising edge when `sample` is set, else false. The first data write
    // is left out when it would not change the register.
    bool JtagClock(bool tms, bool tdi, bool sample);
    void ClockTms(bool tms);
    // Test-Logic-Reset, then Run-Test/Idle.
    void ResetTap();
    // Drives the DCU reset line; always writes the data register.
    void SetDcuResetLine(bool level);
    // From Run-Test/Idle: shifts `bits` bits of `value` into the instruction
    // register, least significant first; returns the bits captured.
    std::uint32_t ShiftIR(int bits, std::uint32_t value);
    std::uint32_t ReadIdcode();
    // Loads the link instruction once and parks the port in Shift-DR.
    void SelectLink();

    bool LinkWaitData(int limit);
    bool LinkWaitAck(int limit);
    // False (and the byte 0) when no byte started within WStartBits clocks.
    bool LinkReceiveByte(std::uint8_t& byte);
    bool LinkSendByte(std::uint8_t byte);
    // All four bytes go out, least significant first; true when all four were
    // acknowledged.
    bool LinkSendWord(std::uint32_t word);

    bool LinkSelected() const { return linkSelected_; }
    bool DcuResetLevel() const { return dcuReset_; }
    const JtagTiming& Timing() const { return timing_; }
    Lpt& Port() { return lpt_; }

private:
    void ShiftTdi(bool tdi) { JtagClock(false, tdi, false); }

    Lpt& lpt_;
    JtagTiming timing_;
    bool dcuReset_ = false;
    std::uint8_t lastData_ = 0xFF;  // 0xFF forces the next write
    bool linkSelected_ = false;
};

}  // namespace velarix
