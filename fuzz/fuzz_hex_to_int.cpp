// Any text into the shared hexadecimal parser and the hex editor's rules.
#include <QString>
#include <cstddef>
#include <cstdint>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/hex_editing.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const std::int64_t value = velarix::HexToInt(text);
    if (value < -1) __builtin_trap();
    static velarix::EepromImage image;
    static velarix::HexEditing editing(image);
    const int row = size > 0 ? 1 + data[0] % 128 : 1;
    editing.EditingBegins(row, 1);
    editing.EditingValidated(row, 1, text);
    if (!velarix::IsByteText(image.CellAt(row, 1))) __builtin_trap();
    return 0;
}
