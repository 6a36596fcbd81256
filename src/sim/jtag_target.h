#pragma once

#include <cstdint>

#include "debug_controller.h"
#include "debug_link.h"
#include "jtag_faults.h"
#include "pc_parallel_port.h"
#include "tap_controller.h"

namespace velarix::sim {

class SimulatedDecoder;

// The decoder's end of the JTAG cable: the CPU's test access port with a
// 5-bit instruction register, its identification register and the debug
// link to the debug controller.
//
// The cable: data bit 0 is TMS, bit 1 TCK, bit 2 TDI, bit 3 the DCU reset
// line; TDO comes back on Select. While the reset line is low the port is
// held in Test-Logic-Reset and the link and the debug controller forget
// what was under way (the CPU and its memory carry on). On a rising edge of
// TCK the controller takes TMS and TDI; on a falling edge TDO changes. TDO
// is driven only in Shift-IR and Shift-DR and floats high otherwise.
//
// Instructions: 02h IDCODE (also chosen by Test-Logic-Reset), 10h the debug
// link, anything else BYPASS. Capture-IR loads 00001b.
class JtagTarget : public CableEnd {
public:
    static constexpr std::uint8_t kIdcodeInstruction = 0x02;
    static constexpr std::uint8_t kLinkInstruction = 0x10;
    // An STi5500, revision 2.
    static constexpr std::uint32_t kDefaultIdcode = 0x2D0C9041;

    explicit JtagTarget(SimulatedDecoder& decoder);

    void OnHostLines(const HostLines& lines) override;
    PeripheralLines Lines() override;

    void SetIdcode(std::uint32_t idcode) { idcode_ = idcode; }
    // The knobs; change them between operations, not in the middle of a byte.
    JtagFaults& Faults() { return faults_; }
    // Takes up the random mode's seed and odds after they were changed.
    void ApplyFaults() { link_.SetFaults(&faults_); }

    TapState State() const { return state_; }
    std::uint8_t Instruction() const { return instruction_; }
    bool ResetLineHigh() const { return resetLine_; }
    DebugLinkEnd& Link() { return link_; }
    DebugController& Controller() { return controller_; }
    // Rising edges of TCK seen, and those seen in Shift-DR with the link loaded.
    std::uint64_t clocks = 0;
    std::uint64_t linkClocks = 0;

private:
    void Rise(bool tms, bool tdi);
    void Fall();
    void HoldInReset();

    JtagFaults faults_;
    DebugLinkEnd link_;
    DebugController controller_;
    std::uint32_t idcode_ = kDefaultIdcode;

    TapState state_ = TapState::TestLogicReset;
    std::uint8_t instruction_ = kIdcodeInstruction;
    std::uint8_t irShift_ = 0;
    std::uint32_t drShift_ = 0;
    bool tck_ = false;
    bool resetLine_ = false;
    bool tdo_ = true;
    std::uint64_t idcodeCaptures_ = 0;
};

}  // namespace velarix::sim
