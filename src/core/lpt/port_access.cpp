#include "lpt/port_access.h"

namespace velarix {

bool OpenPortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second) {
    Q_UNUSED(port);
    Q_UNUSED(base);
    Q_UNUSED(second);
    return true;
}

bool ClosePortAccess(ParallelPort& port, std::uint16_t base, std::uint16_t second) {
    Q_UNUSED(port);
    Q_UNUSED(base);
    Q_UNUSED(second);
    return true;
}

}  // namespace velarix
