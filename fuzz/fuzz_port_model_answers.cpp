// Whatever an external port model sends back, and whatever the kernel's
// base-addr file holds: the port reads a byte or stops with a reason, and
// the ppdev device is found or not, never more.
#include <sys/socket.h>
#include <unistd.h>

#include <QByteArray>
#include <cstddef>
#include <cstdint>

#include "lpt/ppdev_port.h"
#include "lpt/unix_port.h"

namespace {

struct OnePort : velarix::PpdevSystem {
    QByteArray line;
    int Open(const QString&) override { return -1; }
    int Ioctl(int, unsigned long, void*) override { return -1; }
    void Close(int) override {}
    QStringList PortNames() override { return {"parport0"}; }
    QByteArray BaseAddressLine(const QString&) override { return line; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    OnePort kernel;
    kernel.line = bytes;
    const QString device = velarix::PpdevDeviceAt(kernel, 0x378);
    if (!device.isEmpty() && device != QLatin1String("/dev/parport0")) __builtin_trap();

    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, ends) != 0) return 0;
    // The whole answer is there before the first read; then the model hangs up.
    if (size > 0 && ::write(ends[1], data, size) < 0) __builtin_trap();
    ::shutdown(ends[1], SHUT_WR);
    auto port = velarix::UnixPortOn(ends[0], QStringLiteral("unix:fuzz"));
    for (std::size_t i = 0; i <= size && !port->Failed(); ++i) port->In(0x379);
    if (!port->Failed()) __builtin_trap();  // the answers ran out: it must have noticed
    if (port->In(0x379) != 0xFF) __builtin_trap();
    ::close(ends[1]);
    return 0;
}
