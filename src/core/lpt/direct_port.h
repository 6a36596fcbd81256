#pragma once

#include <cstdint>

#include "lpt/port_backend.h"

namespace velarix {

// The system calls of direct port I/O, so that a fake can stand in for the
// processor's I/O instructions in tests.
class DirectIoSystem {
public:
    virtual ~DirectIoSystem() = default;
    // 0, or minus the errno.
    virtual int Ioperm(std::uint32_t from, std::uint32_t count, bool on) = 0;
    virtual std::uint8_t Inb(std::uint16_t port) = 0;
    virtual void Outb(std::uint16_t port, std::uint8_t value) = 0;
};

// The processor's (on x86; elsewhere every Ioperm fails with ENOSYS).
DirectIoSystem& SystemDirectIo();

// Reaches the registers at `base` with the processor's I/O instructions. The
// process must be allowed (root, or the CAP_SYS_RAWIO capability); that is
// tried at once, and the person is told when it is not. The permission map
// of OpenPortAccess is applied with ioperm; a port it has not opened reads
// FFh and takes no writes.
PortOpening OpenDirectPort(DirectIoSystem& system, std::uint16_t base);

}  // namespace velarix
