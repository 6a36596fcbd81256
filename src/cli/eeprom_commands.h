#pragma once

#include "cli_context.h"

namespace velarix::cli {

// eeprom convert -i FILE --from F -o FILE --to F
int EepromConvert(CliContext& context);
// eeprom fields -i FILE [--format F] [--model N]
int EepromFields(CliContext& context);
// eeprom set-field -i FILE [--format F] -o FILE [--to F] KEY=VALUE...
int EepromSetField(CliContext& context);

}  // namespace velarix::cli
