#pragma once

#include <mutex>

#include "ieee1284_peripheral.h"
#include "jtag_target.h"
#include "parallel_loader.h"
#include "pc_parallel_port.h"
#include "pty_service_port.h"
#include "service_mode.h"
#include "simulated_decoder.h"

namespace velarix::sim {

// A simulated decoder with its cables plugged in: the service port on a
// pseudo-terminal, and the PC's parallel port with the parallel-port cable
// into the loader and the JTAG cable into the CPU's test access port.
// Whoever serves the PC port from another thread (the port-model socket)
// holds `parallelLock` for each access.
struct WiredDecoder {
    explicit WiredDecoder(Scheduler scheduler = RealTimeScheduler());

    // Whether the decoder's parallel port answers its own check ("%PR?").
    bool ParallelPortSound() const;

    SimulatedDecoder decoder;
    ServiceMode service{decoder};
    PtyServicePort servicePort;
    ParallelLoader loader{decoder};
    Ieee1284Peripheral peripheral{loader};
    JtagTarget jtag{decoder};
    PcParallelPort pcPort;
    std::mutex parallelLock;
};

}  // namespace velarix::sim
