#pragma once

#include <QString>
#include <cstdint>
#include <optional>

#include "cli_context.h"

namespace velarix::cli {

// The parallel port a command works on: `--lpt` as given (empty for the
// settings' I/O range) and the register base the protocols use.
struct LptChoice {
    QString portName;
    std::uint16_t base = 0x378;
    bool BuiltInSimulator() const { return portName == QLatin1String("sim"); }
};

// Takes --lpt PORT: a base address (278, 378, 3BC, A068, 2000: direct port
// I/O), /dev/parportN (ppdev), unix:PATH (an external port model) or sim.
// Gives the fault in words when PORT is none of these.
std::optional<QString> TakeLptOptions(CliContext& context, LptChoice& choice);

// The usage fault of a PORT that is none of those.
QString LptFault(const QString& portName);

}  // namespace velarix::cli
