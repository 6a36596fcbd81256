#include "pc_parallel_port.h"

namespace velarix::sim {

namespace {

constexpr std::uint16_t kBases[] = {0x278, 0x378, 0x3BC, 0xA068, 0x2000};
constexpr std::uint16_t kEcrOffset = 0x402;

}  // namespace

int PcParallelPort::OffsetOf(std::uint16_t address) {
    for (std::uint16_t base : kBases) {
        if (address >= base && address <= base + 2) return address - base;
        if (address == base + kEcrOffset) return kEcrOffset;
    }
    return -1;
}

PcParallelPort::Cable PcParallelPort::InUse() const {
    return choice_ == Cable::Automatic ? automatic_ : choice_;
}

CableEnd* PcParallelPort::Active() const {
    return InUse() == Cable::Jtag ? jtag_ : parallel_;
}

HostLines PcParallelPort::Lines() const {
    HostLines lines;
    lines.data = data_;
    lines.nStrobe = !(control_ & 0x01);
    lines.nAutoFd = !(control_ & 0x02);
    lines.nInit = (control_ & 0x04) != 0;
    lines.nSelectIn = !(control_ & 0x08);
    lines.dataOutputs = !(control_ & 0x20);
    return lines;
}

void PcParallelPort::Tell() {
    if (CableEnd* end = Active()) end->OnHostLines(Lines());
}

std::uint8_t PcParallelPort::Read(std::uint16_t offset) {
    switch (offset) {
        case 0:
            return data_;
        case 1: {
            PeripheralLines in;
            if (CableEnd* end = Active()) in = end->Lines();
            // Bit 7 is the inverse of Busy; bits 2 to 0 are not wired and read 1.
            return static_cast<std::uint8_t>((in.busy ? 0 : 0x80) | (in.nAck ? 0x40 : 0) |
                                             (in.pError ? 0x20 : 0) | (in.select ? 0x10 : 0) |
                                             (in.nFault ? 0x08 : 0) | 0x07);
        }
        case 2:
            return control_;
        case kEcrOffset:
            return ecr_;
        default:
            return 0xFF;
    }
}

void PcParallelPort::Write(std::uint16_t offset, std::uint8_t value) {
    switch (offset) {
        case 0: {
            const std::uint8_t previous = data_;
            data_ = value;
            if (++dataWritesInARow_ >= 2 && automatic_ != Cable::Jtag) {
                automatic_ = Cable::Jtag;
                // The JTAG cable was there all along: it saw the first write too.
                if (choice_ == Cable::Automatic && jtag_) {
                    HostLines before = Lines();
                    before.data = previous;
                    jtag_->OnHostLines(before);
                }
            }
            Tell();
            return;
        }
        case 2:
            control_ = static_cast<std::uint8_t>(value | 0xC0);
            dataWritesInARow_ = 0;
            automatic_ = Cable::Parallel;
            Tell();
            return;
        case kEcrOffset:
            ecr_ = value;
            dataWritesInARow_ = 0;
            automatic_ = Cable::Parallel;
            return;
        default:
            return;
    }
}

}  // namespace velarix::sim
