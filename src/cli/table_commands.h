#pragma once

#include "cli_context.h"

namespace velarix::cli {

// tables export -i FILE [--ram] [--grid channels|transponders] --format text|html -o FILE
int TablesExport(CliContext& context);
// tables save -i FILE [--ram] [--merge FILE]... [--tcs HEX] [--tpt HEX] [--section ADDR]... -o FILE
int TablesSave(CliContext& context);
// tables edit -i FILE [--ram] [--merge FILE]... -o FILE OP...
int TablesEdit(CliContext& context);

}  // namespace velarix::cli
