#include "lpt/port_backend.h"

namespace velarix {

PortOpening OpenParallelPort(const QString& spec, std::uint16_t base, const SimPortMaker& sim) {
    Q_UNUSED(base);
    PortOpening opening;
    if (spec == QLatin1String("sim") && sim) {
        opening.port = sim();
        opening.device = QStringLiteral("sim");
        return opening;
    }
    opening.error = QStringLiteral("No parallel port backend serves \"%1\".").arg(spec);
    return opening;
}

}  // namespace velarix
