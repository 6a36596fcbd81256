#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

#include "cli_context.h"

namespace velarix::cli {

// Whether the output named by -o can be written, checked before any work
// whose result would be lost; the system's reason when it cannot. "-" is
// standard output.
std::optional<QString> CheckOutput(const QString& path);

// Writes the bytes to the output named by -o: "-" is standard output,
// anything else is written whole or not at all (a device or a pipe in
// place). Status 1, after the reason, when it cannot be written.
int WriteOutput(CliContext& context, const QString& path, const QByteArray& bytes);

// The same for a writer that takes a path: for "-" it writes into a
// temporary file, whose bytes then go to standard output.
int WriteOutputThrough(CliContext& context, const QString& path,
                       const std::function<std::optional<QString>(const QString&)>& save);

}  // namespace velarix::cli
