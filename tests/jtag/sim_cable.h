#pragma once

#include <memory>
#include <vector>

#include "jtag/jtag_operation.h"
#include "jtag_target.h"
#include "lpt/port_io.h"
#include "pc_parallel_port.h"
#include "recording_frame.h"
#include "shell/clock.h"
#include "shell/settings.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "trap_routine.h"

namespace velarix::test {

// The program's side of the port, noting every value written to the data
// register, so a test can read back what the cable carried.
class WireLog : public ParallelPort {
public:
    WireLog(ParallelPort& port, std::uint16_t base, std::vector<std::uint8_t>& writes)
        : port_(port), data_(base), writes_(writes) {}
    std::uint8_t In(std::uint16_t address) override { return port_.In(address); }
    void Out(std::uint16_t address, std::uint8_t value) override {
        if (address == data_) writes_.push_back(value);
        port_.Out(address, value);
    }

private:
    ParallelPort& port_;
    std::uint16_t data_;
    std::vector<std::uint8_t>& writes_;
};

// TDI as the target took it: its level at each rising edge of TCK.
inline std::vector<int> TdiAtRisingEdges(const std::vector<std::uint8_t>& writes,
                                         std::size_t from = 0) {
    std::vector<int> bits;
    bool tck = false;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const bool now = writes[i] & 0x02;
        if (i >= from && now && !tck) bits.push_back((writes[i] >> 2) & 1);
        tck = now;
    }
    return bits;
}

// The simulated decoder hanging on the JTAG cable of an in-process port at
// 378h, on a virtual clock that moves with every port access.
struct SimCable {
    static constexpr std::uint16_t kBase = 0x378;

    sim::SimulatedDecoder decoder;
    sim::JtagTarget target{decoder};
    sim::PcParallelPort pc;
    SimParallelPort simPort{pc};
    std::vector<std::uint8_t> dataWrites;
    WireLog port{simPort, kBase, dataWrites};
    VirtualClock clock;
    VirtualPortTiming timing{clock};
    Lpt lpt{port, timing, kBase};

    SimCable() { pc.AttachJtag(&target); }

    sim::JtagFaults& Faults() { return target.Faults(); }
    std::vector<sim::DebugController::Command>& Commands() { return target.Controller().history; }
};

// Everything a JTAG operation needs, around a SimCable: a recording frame,
// default settings (port 378h), the stand-in trap routine.
struct SimJtag : SimCable {
    RecordingFrame frame;
    Settings settings;
    TrapState trap;
    QByteArray trapRoutine = sim::StandInTrapRoutine();
    int portsOpened = 0;
    bool portFails = false;
    JtagEnvironment env{frame,
                        settings,
                        timing,
                        [this] {
                            ++portsOpened;
                            PortOpening opening;
                            if (portFails) {
                                opening.error = QStringLiteral("no port here");
                            } else {
                                opening.port = std::make_unique<WireLog>(port, kBase, unused);
                            }
                            return opening;
                        },
                        trap,
                        [this] {
                            FileRead file;
                            file.bytes = trapRoutine;
                            if (trapRoutine.isNull()) file.error = QStringLiteral("trap.bin");
                            return file;
                        }};

    QStringList Log() const { return frame.Log(LogPane::Jtag); }
    QStringList Boxes() const {
        QStringList texts;
        for (const auto& box : frame.boxes) texts << box.text;
        return texts;
    }

private:
    std::vector<std::uint8_t> unused;
};

}  // namespace velarix::test
