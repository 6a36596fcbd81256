#include "serial_options.h"

namespace velarix::cli {

namespace {

// Takes --name and finds its value among `entries`; the position goes to `index`.
std::optional<QString> TakeChoice(CliContext& context, const QString& name,
                                  const QStringList& entries, int& index) {
    const auto value = context.TakeOption(name);
    if (!value) return std::nullopt;
    const int at = static_cast<int>(entries.indexOf(value->toLower()));
    if (at < 0)
        return name + QStringLiteral(" takes one of: ") + entries.join(QStringLiteral(", "));
    index = at;
    return std::nullopt;
}

}  // namespace

std::optional<QString> TakeSerialOptions(CliContext& context, SerialChoice& choice,
                                         const QString& defaultPort) {
    static const QStringList kParity{"none", "even", "odd", "mark", "space"};
    static const QStringList kFlow{"none", "software", "hardware"};
    choice.settings = context.settings.serial;
    SerialSettings& s = choice.settings;
    for (auto error : {TakeChoice(context, "--baud", BaudRateEntries(), s.baudRate),
                       TakeChoice(context, "--data-bits", DataBitsEntries(), s.dataBits),
                       TakeChoice(context, "--parity", kParity, s.parity),
                       TakeChoice(context, "--stop-bits", StopBitsEntries(), s.stopBits),
                       TakeChoice(context, "--flow", kFlow, s.flowControl)}) {
        if (error) return error;
    }
    if (const auto port = context.TakeOption("--port")) {
        choice.port = *port;
    } else if (!defaultPort.isEmpty()) {
        choice.port = defaultPort;
    } else {
        const QStringList ports = SerialPortNames();
        if (ports.isEmpty())
            return QStringLiteral("no serial port on this machine: give --port DEVICE");
        choice.port = ports.value(s.port, ports.first());
    }
    return std::nullopt;
}

}  // namespace velarix::cli
