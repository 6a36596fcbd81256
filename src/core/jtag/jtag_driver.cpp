#include "jtag/jtag_driver.h"

namespace velarix {

namespace {

constexpr std::uint8_t kTms = 0x01;
constexpr std::uint8_t kTck = 0x02;
constexpr std::uint8_t kTdi = 0x04;
constexpr std::uint8_t kDcuReset = 0x08;

}  // namespace

JtagDriver::JtagDriver(Lpt& lpt, JtagTiming timing) : lpt_(lpt), timing_(timing) {}

bool JtagDriver::JtagClock(bool tms, bool tdi, bool sample) {
    const bool tdo = sample && IsSelect(lpt_);
    const std::uint8_t v =
        std::uint8_t((tms ? kTms : 0) | (tdi ? kTdi : 0) | (dcuReset_ ? kDcuReset : 0));
    const std::uint16_t data = lpt_.base + kDataRegister;
    if (v != lastData_) {
        PortOut(lpt_, data, v);
        lastData_ = v;
    }
    Spin(lpt_, timing_.tckSpins);
    PortOut(lpt_, data, v | kTck);
    Spin(lpt_, timing_.tckSpins);
    PortOut(lpt_, data, v);
    return tdo;
}

void JtagDriver::ClockTms(bool tms) {
    JtagClock(tms, false, false);
}

void JtagDriver::ResetTap() {
    for (int i = 0; i < 5; ++i) ClockTms(true);
    ClockTms(false);
    linkSelected_ = false;
}

void JtagDriver::SetDcuResetLine(bool level) {
    dcuReset_ = level;
    lastData_ = 0xFF;
    ClockTms(false);
    linkSelected_ = false;
}

std::uint32_t JtagDriver::ShiftIR(int bits, std::uint32_t value) {
    for (bool tms : {true, true, false, false}) ClockTms(tms);
    std::uint32_t captured = 0;
    for (int k = 0; k < bits; ++k) {
        const bool tdo = JtagClock(k == bits - 1, (value >> k) & 1, true);
        captured |= std::uint32_t(tdo ? 1 : 0) << k;
    }
    ClockTms(true);
    return captured;
}

std::uint32_t JtagDriver::ReadIdcode() {
    ResetTap();
    ShiftIR(5, kIdcodeInstruction);
    for (bool tms : {true, false, false}) ClockTms(tms);
    std::uint32_t id = 0;
    for (int k = 0; k < 32; ++k) {
        if (JtagClock(k == 31, false, true)) id |= 1u << k;
    }
    ClockTms(true);
    return id;
}

void JtagDriver::SelectLink() {
    if (linkSelected_) return;
    ResetTap();
    ShiftIR(5, kLinkInstruction);
    for (bool tms : {true, false, false}) ClockTms(tms);
    linkSelected_ = true;
}

// An acknowledge (0, 1, 0) starts the count again: the target is there and
// busy. However many acknowledges come, the whole wait is bounded.
bool JtagDriver::LinkWaitData(int limit) {
    const std::int64_t bound = std::int64_t(kWaitBound) * limit;
    unsigned h = 0;
    int count = 0;
    std::int64_t clocks = 0;
    while (count < limit && h != 3 && clocks < bound) {
        h = ((h << 1) | (JtagClock(false, false, true) ? 1 : 0)) & 7;
        if (h == 2) count = 0;
        ++count;
        ++clocks;
    }
    return h == 3;
}

bool JtagDriver::LinkWaitAck(int limit) {
    unsigned h = 0;
    int count = 0;
    while (count < limit && h != 2) {
        h = ((h << 1) | (JtagClock(false, false, true) ? 1 : 0)) & 7;
        ++count;
    }
    return h == 2;
}

// The host's acknowledge, 1 then 0, goes out on the fifth and sixth data
// clocks, while the byte is still coming in.
bool JtagDriver::LinkReceiveByte(std::uint8_t& byte) {
    byte = 0;
    if (!LinkWaitData(int(timing_.waitStartBits))) return false;
    for (int k = 0; k < 8; ++k) {
        if (JtagClock(false, k == 4, true)) byte |= std::uint8_t(1u << k);
    }
    return true;
}

// An acknowledge seen during the data bits is a 1 on TDO after a 0, or a 1
// on the first data bit.
bool JtagDriver::LinkSendByte(std::uint8_t byte) {
    bool acknowledged = false;
    unsigned h = 0;
    for (bool tdi : {false, true, true}) ShiftTdi(tdi);
    for (int k = 0; k < 8; ++k) {
        const bool tdo = JtagClock(false, (byte >> k) & 1, true);
        h = ((h | (tdo ? 1 : 0)) << 1) & 7;
        if (h == 2) acknowledged = true;
    }
    if (!acknowledged) acknowledged = LinkWaitAck(kAckLimit);
    ShiftTdi(false);
    return acknowledged;
}

bool JtagDriver::LinkSendWord(std::uint32_t word) {
    bool all = true;
    for (int shift = 0; shift < 32; shift += 8) {
        all = LinkSendByte(std::uint8_t(word >> shift)) && all;
    }
    return all;
}

}  // namespace velarix
