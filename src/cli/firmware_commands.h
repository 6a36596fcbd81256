#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <variant>

#include "cli_context.h"

namespace velarix::sim {
struct WiredDecoder;
}

namespace velarix::cli {

// firmware upload -i FILE|--table FILE --address A [--command DL|PL|FL]
//                 [--phase12|--no-phase12] [--progress|--no-progress]
int UploadFirmware(CliContext& context);
// firmware check-lpt
int CheckDecoderLpt(CliContext& context);

// The simulated decoder `--lpt sim` puts on the cables; when empty each
// command makes its own. Tests hand in one whose knobs they set.
using SimulatorSource = std::function<sim::WiredDecoder*()>;
SimulatorSource& BuiltInSimulator();

}  // namespace velarix::cli
