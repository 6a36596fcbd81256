#pragma once

#include <QString>
#include <optional>

#include "cli_context.h"

namespace velarix {
class InterpretedFields;
}

namespace velarix::cli {

// Does what a person does on the "Datos Interpretados" page for KEY=VALUE
// (choose an entry or "otro", type a raw view, a number or a name, leave the
// field); the fault in words when the key, the entry or the value is not one
// the page takes.
std::optional<QString> SetField(InterpretedFields& fields, const QString& key,
                                const QString& value);

// eeprom convert -i FILE --from F -o FILE --to F
int EepromConvert(CliContext& context);
// eeprom fields -i FILE [--format F] [--model N]
int EepromFields(CliContext& context);
// eeprom set-field -i FILE [--format F] -o FILE [--to F] KEY=VALUE...
int EepromSetField(CliContext& context);

}  // namespace velarix::cli
