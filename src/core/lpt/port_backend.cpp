#include "lpt/port_backend.h"

#include <QRegularExpression>

#include "lpt/direct_port.h"
#include "lpt/ppdev_port.h"
#include "lpt/unix_port.h"
#include "shell/message_table.h"

namespace velarix {

namespace {

constexpr std::uint16_t kBases[] = {0x278, 0x378, 0x3BC, 0xA068, 0x2000};

// The settings' range: its ppdev device when the kernel has one there, else
// direct port I/O. When neither serves, the person learns both reasons.
PortOpening OpenDefault(std::uint16_t base) {
    const QString device = PpdevDeviceAt(SystemPpdev(), base);
    if (!device.isEmpty()) return OpenPpdevPort(SystemPpdev(), device, base);
    PortOpening direct = OpenDirectPort(SystemDirectIo(), base);
    if (direct.port) return direct;
    direct.error = Msg(383).arg(BaseText(base)) + QStringLiteral("\r\n") + direct.error;
    return direct;
}

}  // namespace

QString BaseText(std::uint16_t base) {
    return QString::number(base, 16).toUpper();
}

bool IsPortSpec(const QString& portName, std::uint16_t* base) {
    static const QRegularExpression ppdev(QStringLiteral("^/dev/parport\\d+$"));
    if (portName == QLatin1String("sim") || ppdev.match(portName).hasMatch()) return true;
    if (portName.startsWith(QLatin1String("unix:"))) return portName.size() > 5;
    bool ok = false;
    const uint value = portName.toUInt(&ok, 16);
    if (!ok || portName.startsWith(QLatin1Char('+')) || portName.startsWith(QLatin1Char('-'))) return false;
    for (std::uint16_t known : kBases) {
        if (value == known) {
            if (base) *base = known;
            return true;
        }
    }
    return false;
}

PortOpening OpenParallelPort(const QString& portName, std::uint16_t base, const SimPortMaker& sim) {
    if (portName.isEmpty()) return OpenDefault(base);
    if (portName == QLatin1String("sim")) {
        PortOpening opening;
        opening.base = base;
        opening.device = QStringLiteral("sim");
        if (sim) {
            opening.port = sim();
        } else {
            opening.error = Msg(383).arg(portName);
        }
        return opening;
    }
    if (portName.startsWith(QLatin1String("unix:"))) return OpenUnixPort(portName.mid(5), base);
    if (portName.startsWith(QLatin1String("/dev/"))) return OpenPpdevPort(SystemPpdev(), portName, base);
    std::uint16_t named = 0;
    if (IsPortSpec(portName, &named)) return OpenDirectPort(SystemDirectIo(), named);
    PortOpening opening;
    opening.base = base;
    opening.error = Msg(383).arg(portName);
    return opening;
}

}  // namespace velarix
