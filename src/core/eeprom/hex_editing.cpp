#include "eeprom/hex_editing.h"

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"

namespace velarix {

void HexEditing::CellSelected(int gridRow) {
    selectedRow_ = static_cast<std::uint8_t>(gridRow);
}

void HexEditing::EditingBegins(int gridRow, int gridColumn) {
    selectedRow_ = static_cast<std::uint8_t>(gridRow);
    const QString text = image_.CellAt(gridRow, gridColumn);
    if (IsByteText(text)) previous_ = static_cast<std::uint8_t>(HexToInt(text));
}

void HexEditing::EditingValidated(int gridRow, int gridColumn, const QString& typed) {
    const QString upper = typed.toUpper();
    if (IsByteText(upper)) {
        image_.SetCellAt(gridRow, gridColumn, upper);
    } else {
        RestorePrevious(gridRow, gridColumn);
    }
}

void HexEditing::EditingCancelled(int gridRow, int gridColumn) {
    RestorePrevious(gridRow, gridColumn);
}

void HexEditing::RestorePrevious(int gridRow, int gridColumn) {
    image_.SetCellAt(gridRow, gridColumn, HexText(previous_, 2));
}

}  // namespace velarix
