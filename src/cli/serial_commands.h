#pragma once

#include "cli_context.h"

namespace velarix::cli {

// eeprom read -o FILE [--format F] [--length L]
int EepromRead(CliContext& context);
// eeprom write -i FILE [--format F] [--length L]
int EepromWrite(CliContext& context);
// eeprom verify -i FILE [--format F] [--length L]
int EepromVerify(CliContext& context);
// terminal [--no-checksum] LINE...
int TerminalLines(CliContext& context);

}  // namespace velarix::cli
