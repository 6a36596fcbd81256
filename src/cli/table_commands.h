#pragma once

#include <QByteArray>
#include <optional>
#include <variant>

#include "cli_context.h"

namespace velarix::cli {

// tables export -i FILE [--ram] [--grid channels|transponders] --format text|html -o FILE
int TablesExport(CliContext& context);
// tables save -i FILE [--ram] [--merge FILE]... [--tcs HEX] [--tpt HEX] [--section ADDR]... -o FILE
int TablesSave(CliContext& context);
// tables edit -i FILE [--ram] [--merge FILE]... -o FILE OP...
int TablesEdit(CliContext& context);

// The channel table of a JTAG read-out (a RAM table, or a flash image whose
// sections are found as "Tabla canales FLASH" finds them) saved to `path` as
// "Guardar como..." would; the message when it cannot be.
std::optional<QString> SaveReadOutTables(const QByteArray& bytes, bool ram, const QString& path,
                                         const Settings& settings);

// The FLASH channel table of a table file, loaded as "Leer archivo..." loads
// it and rebuilt into the image to send; the message when there is none.
std::variant<QByteArray, QString> RebuiltFlashTable(const QString& file, const Settings& settings);

}  // namespace velarix::cli
