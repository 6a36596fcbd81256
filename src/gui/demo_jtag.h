#pragma once

#include <memory>

#include "jtag_target.h"
#include "pc_parallel_port.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "tform1.h"
#include "trap_routine.h"

namespace velarix::gui {

// `--demo`: the simulated decoder's JTAG cable on the demo's PC port, served
// in process as "sim", with the stand-in trap routine that only the
// simulator runs. A normal start never sees that routine.
struct DemoJtagCable {
    DemoJtagCable(sim::SimulatedDecoder& decoder, sim::PcParallelPort& port)
        : target(decoder), port(port) {
        port.AttachJtag(&target);
    }
    void Serve(WindowServices& services) {
        services.lptSpec = QStringLiteral("sim");
        services.simParallelPort = [this] {
            return std::unique_ptr<ParallelPort>(std::make_unique<SimParallelPort>(port));
        };
        services.trapRoutine = [] { return FileRead{sim::StandInTrapRoutine(), {}}; };
    }

    sim::JtagTarget target;
    sim::PcParallelPort& port;
};

}  // namespace velarix::gui
