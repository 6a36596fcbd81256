#pragma once

#include <QString>
#include <optional>

#include "cli_context.h"
#include "serial/serial_settings.h"

namespace velarix::cli {

struct SerialChoice {
    QString port;
    SerialSettings settings;
};

// Takes --port, --baud, --data-bits, --parity, --stop-bits and --flow; gives
// the fault in words when a value is not one of the port's choices. Without
// --port the port is `defaultPort` when given, else the settings' one.
std::optional<QString> TakeSerialOptions(CliContext& context, SerialChoice& choice,
                                         const QString& defaultPort = QString());

}  // namespace velarix::cli
