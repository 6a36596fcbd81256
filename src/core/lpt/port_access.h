#pragma once

#include <QtGlobal>
#include <cstdint>

#include "lpt/parallel_port.h"

namespace velarix {

// Opens the port's two register ranges (base and base + 0x400) to this
// process for one operation, where the backend needs that; true when every
// step succeeded. ClosePortAccess undoes it; callers ignore its result.
bool OpenPortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second);
bool ClosePortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second);

}  // namespace velarix
