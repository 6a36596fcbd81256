#include "debug_controller.h"

#include "debug_link.h"
#include "jtag_faults.h"
#include "simulated_decoder.h"

namespace velarix::sim {

namespace {

bool InWord(std::uint32_t address, std::uint32_t word) {
    return address - word < 4;
}

}  // namespace

DebugController::DebugController(SimulatedDecoder& decoder, DebugLinkEnd& link,
                                 const JtagFaults& faults)
    : decoder_(decoder), link_(link), faults_(faults), routine_(decoder, faults) {
    link_.onByte = [this](std::uint8_t byte) { TakeByte(byte); };
}

void DebugController::Reset() {
    step_ = Step::Command;
    data_.clear();
}

void DebugController::TakeByte(std::uint8_t byte) {
    switch (step_) {
        case Step::Command:
            if ((byte & 3) > 1) return;
            command_ = byte;
            address_ = 0;
            addressBytes_ = 0;
            step_ = Step::Address;
            return;
        case Step::Address:
            address_ |= std::uint32_t(byte) << (8 * addressBytes_);
            if (++addressBytes_ < 4) return;
            if (command_ & 1) {
                Answer();
                step_ = Step::Command;
            } else if (command_ == 0) {
                ++writes_;
                history.push_back({false, address_, 0});
                step_ = Step::Command;
            } else {
                data_.clear();
                step_ = Step::Data;
            }
            return;
        case Step::Data:
            data_.push_back(byte);
            if (data_.size() < command_) return;
            Store();
            step_ = Step::Command;
            return;
    }
}

std::uint8_t DebugController::Read(std::uint32_t address) {
    if (InWord(address, kDcuStatusAddress))
        return std::uint8_t(kDcuStatus >> (8 * (address - kDcuStatusAddress)));
    if (InWord(address, kDcuControlAddress)) {
        // The whole word is read at its first byte.
        if (address == kDcuControlAddress) control_ = routine_.ReadControl();
        return std::uint8_t(control_ >> (8 * (address - kDcuControlAddress)));
    }
    return routine_.ReadBack(address, decoder_.BusRead(address));
}

void DebugController::Write(std::uint32_t address, std::uint8_t value) {
    if (InWord(address, kDcuStatusAddress)) return;
    if (InWord(address, kDcuControlAddress)) {
        const int shift = 8 * (address - kDcuControlAddress);
        control_ = (control_ & ~(0xFFu << shift)) | (std::uint32_t(value) << shift);
        return;
    }
    decoder_.BusWrite(address, value);
}

void DebugController::Answer() {
    ++reads_;
    const std::uint8_t length = faults_.lengthByte.value_or(0);
    const int count = (length & 0xFC) ? (length & 0xFC) : 256;
    history.push_back({true, address_, count});
    routine_.BeforeRead(address_, std::uint32_t(count));
    link_.BeginAnswer();
    if (reads_ - 1 != faults_.lengthByteLostInAnswer) link_.Send(length);
    for (int i = 0; i < count + faults_.extraBytes; ++i)
        link_.Send(Read(address_ + std::uint32_t(i)));
}

void DebugController::Store() {
    ++writes_;
    history.push_back({false, address_, int(data_.size())});
    bool control = false;
    for (std::size_t i = 0; i < data_.size(); ++i) {
        const std::uint32_t at = address_ + std::uint32_t(i);
        control = control || InWord(at, kDcuControlAddress);
        Write(at, data_[i]);
    }
    if (control) routine_.WriteControl(control_);
    routine_.AfterWrite(address_, std::uint32_t(data_.size()));
}

}  // namespace velarix::sim
