#pragma once

#include "cli_context.h"

namespace velarix::cli {

// Runs the command named by the first arguments; returns the exit status.
int RunCommand(CliContext& context);

}  // namespace velarix::cli
