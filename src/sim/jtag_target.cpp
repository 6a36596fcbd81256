#include "jtag_target.h"

namespace velarix::sim {

namespace {

constexpr int kIrBits = 5;
constexpr std::uint8_t kIrCapture = 0x01;

}  // namespace

JtagTarget::JtagTarget(SimulatedDecoder& decoder) : controller_(decoder, link_, faults_) {
    link_.SetFaults(&faults_);
}

void JtagTarget::HoldInReset() {
    state_ = TapState::TestLogicReset;
    instruction_ = kIdcodeInstruction;
    link_.Reset();
    controller_.Reset();
    tdo_ = true;
}

void JtagTarget::OnHostLines(const HostLines& lines) {
    const bool tms = lines.data & 0x01;
    const bool tck = lines.data & 0x02;
    const bool tdi = lines.data & 0x04;
    const bool resetLine = lines.data & 0x08;
    if (resetLine != resetLine_) {
        resetLine_ = resetLine;
        if (!resetLine_) HoldInReset();
    }
    const bool rising = tck && !tck_;
    const bool falling = !tck && tck_;
    tck_ = tck;
    if (!resetLine_) return;
    if (rising) Rise(tms, tdi);
    if (falling) Fall();
}

void JtagTarget::Rise(bool tms, bool tdi) {
    ++clocks;
    switch (state_) {
        case TapState::CaptureIr:
            irShift_ = kIrCapture;
            break;
        case TapState::ShiftIr:
            irShift_ = std::uint8_t((irShift_ >> 1) | (tdi ? 1 << (kIrBits - 1) : 0));
            break;
        case TapState::CaptureDr:
            drShift_ = 0;
            if (instruction_ == kIdcodeInstruction) {
                drShift_ = idcode_;
                if (faults_.unsteadyIdcode && (idcodeCaptures_++ & 1)) drShift_ ^= 0x100;
            }
            break;
        case TapState::ShiftDr:
            if (instruction_ == kLinkInstruction) {
                ++linkClocks;
                link_.TakeBit(tdi);
            } else if (instruction_ == kIdcodeInstruction) {
                drShift_ = (drShift_ >> 1) | (tdi ? 0x80000000u : 0);
            } else {
                drShift_ = tdi ? 1 : 0;  // BYPASS: one stage
            }
            break;
        default:
            break;
    }
    state_ = NextTapState(state_, tms);
    if (state_ == TapState::TestLogicReset) instruction_ = kIdcodeInstruction;
}

void JtagTarget::Fall() {
    // A new instruction takes effect on the falling edge in Update-IR.
    if (state_ == TapState::UpdateIr) instruction_ = irShift_;
    switch (state_) {
        case TapState::ShiftIr:
            tdo_ = irShift_ & 1;
            break;
        case TapState::ShiftDr:
            tdo_ = instruction_ == kLinkInstruction ? link_.NextBit() : (drShift_ & 1);
            break;
        default:
            tdo_ = true;
            break;
    }
}

PeripheralLines JtagTarget::Lines() {
    PeripheralLines lines;
    switch (faults_.tdo) {
        case JtagFaults::Tdo::StuckLow:
            lines.select = false;
            break;
        case JtagFaults::Tdo::StuckHigh:
            lines.select = true;
            break;
        case JtagFaults::Tdo::Driven:
            lines.select = tdo_;
            break;
    }
    return lines;
}

}  // namespace velarix::sim
