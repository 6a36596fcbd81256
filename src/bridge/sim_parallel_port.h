#pragma once

#include "lpt/parallel_port.h"
#include "pc_parallel_port.h"

namespace velarix {

// The "sim" backend: the program's port accesses go straight to the
// simulated decoder's PC port, in process. The simulator keeps its own
// reading of the registers; this only hands the bytes across.
class SimParallelPort : public ParallelPort {
public:
    explicit SimParallelPort(sim::PcParallelPort& port) : port_(port) {}

    std::uint8_t In(std::uint16_t address) override {
        const int offset = sim::PcParallelPort::OffsetOf(address);
        return offset < 0 ? 0xFF : port_.Read(static_cast<std::uint16_t>(offset));
    }
    void Out(std::uint16_t address, std::uint8_t value) override {
        const int offset = sim::PcParallelPort::OffsetOf(address);
        if (offset >= 0) port_.Write(static_cast<std::uint16_t>(offset), value);
    }

private:
    sim::PcParallelPort& port_;
};

}  // namespace velarix
