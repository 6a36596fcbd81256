#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "lpt/port_backend.h"

namespace velarix {

// The system calls of the ppdev backend, so that a fake can stand in for the
// kernel in tests.
class PpdevSystem {
public:
    virtual ~PpdevSystem() = default;
    // A descriptor, or minus the errno.
    virtual int Open(const QString& path) = 0;
    // 0, or minus the errno.
    virtual int Ioctl(int fd, unsigned long request, void* argument) = 0;
    virtual void Close(int fd) = 0;
    // The ports the kernel has ("parport0"...), and the first line of one's
    // /proc/sys/dev/parport/<name>/base-addr ("888\t1912").
    virtual QStringList PortNames() = 0;
    virtual QByteArray BaseAddressLine(const QString& name) = 0;
};

// The kernel's.
PpdevSystem& SystemPpdev();

// The "/dev/parportN" of the port whose base address is `base`; empty when
// the kernel has none there.
QString PpdevDeviceAt(PpdevSystem& system, std::uint16_t base);

// Opens a ppdev device to serve the registers at `base`. The port is claimed
// (exclusively) by OpenPortAccess for one operation and released by
// ClosePortAccess; data, status and control go through the device's
// requests. Without the claim no register is touched.
PortOpening OpenPpdevPort(PpdevSystem& system, const QString& device, std::uint16_t base);

// The person's message for an errno of opening (or claiming) `device`.
QString PpdevErrorText(const QString& device, int error, bool claiming);

}  // namespace velarix
