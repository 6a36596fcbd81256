#include "serial/serial_tasks.h"

namespace velarix {

std::optional<QString> SerialTasks::OpenPort(const QString& name, const SerialSettings& settings) {
    QString error;
    LinkPort& port = link.Port();
    port.Apply(settings);
    if (!port.SetName(name, &error) || !port.Open(&error)) return error;
    return std::nullopt;
}

}  // namespace velarix
