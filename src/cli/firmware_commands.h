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

// Rebuilds the FLASH channel table of a table file into the image to send,
// or gives the message to show. Empty until the channel tables are built in.
using FlashTableSource = std::function<std::variant<QByteArray, QString>(const QString& file)>;
FlashTableSource& FlashTableImage();

// The simulated decoder `--lpt sim` puts on the cables; when empty each
// command makes its own. Tests hand in one whose knobs they set.
using SimulatorSource = std::function<sim::WiredDecoder*()>;
SimulatorSource& BuiltInSimulator();

}  // namespace velarix::cli
