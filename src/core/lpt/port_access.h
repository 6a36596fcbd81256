#pragma once

#include <QString>
#include <cstdint>

#include "lpt/gwiopm_driver.h"
#include "lpt/parallel_port.h"

namespace velarix {

// Opens the port's two register ranges (base and base + 0x400, three ports
// each) to this process for one operation: the driver is installed, started
// and opened, and the ranges are allowed in its permission map. Every step
// runs even after one failed; true when all succeeded.
bool OpenPortAccess(TGWIOPM_Driver& driver, std::uint16_t base, std::uint16_t second);
// Withdraws the permission and removes the driver again; every step runs.
// Callers do not act on its result.
bool ClosePortAccess(TGWIOPM_Driver& driver, std::uint16_t base, std::uint16_t second);

// The same for a port: nothing to do (true) when its backend reaches the
// registers without preparation.
bool OpenPortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second);
bool ClosePortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second);
// Why the last OpenPortAccess of the port failed, in the program's words;
// empty when its backend cannot say.
QString PortAccessFailure(ParallelPort& port);

}  // namespace velarix
