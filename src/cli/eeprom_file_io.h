#pragma once

#include <optional>

#include "cli_context.h"
#include "eeprom/eeprom_files.h"

namespace velarix {
class EepromImage;
}

namespace velarix::cli {

// The format named by option `name` (default "velarix"); a name that is not
// one of velarix, zefiro9 and raw is a usage fault, noted in `error`.
std::optional<EepromFormat> TakeFormat(CliContext& context, const QString& name, QString& error);

// Reads an EEPROM file into the image, no more of it than its format can use.
// A file that cannot be read or that its reader refuses ends the command
// with status 2, after the reason. `defined` receives the rows it set.
std::optional<int> LoadEepromFile(CliContext& context, const QString& path, EepromFormat format,
                                  EepromImage& image, EepromRows* defined = nullptr);

// Writes the image as a file, whole or not at all ("-": standard output);
// status 1 when it cannot.
int SaveEepromFile(CliContext& context, const QString& path, EepromFormat format,
                   const EepromImage& image);

}  // namespace velarix::cli
