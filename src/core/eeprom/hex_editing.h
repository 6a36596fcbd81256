#pragma once

#include <QString>
#include <cstdint>

namespace velarix {

class EepromImage;

// The editing rules of the hex editor. An entry that is not two hexadecimal
// digits never stays in a cell: the value the cell had when editing began is
// put back. The previous value is one byte for the whole editor, so editing a
// cell that held no valid byte restores the last valid value taken.
class HexEditing {
public:
    explicit HexEditing(EepromImage& image) : image_(image) {}

    // The grid row (1..128) of the cell last selected or opened for editing;
    // the single-row transfers use it.
    std::uint8_t SelectedRow() const { return selectedRow_; }
    void SetSelectedRow(std::uint8_t row) { selectedRow_ = row; }
    std::uint8_t PreviousValue() const { return previous_; }

    void CellSelected(int gridRow);
    void EditingBegins(int gridRow, int gridColumn);
    // Enter or leaving the cell with `typed` in the editor. Always accepted.
    void EditingValidated(int gridRow, int gridColumn, const QString& typed);
    // Escape.
    void EditingCancelled(int gridRow, int gridColumn);

private:
    void RestorePrevious(int gridRow, int gridColumn);

    EepromImage& image_;
    std::uint8_t selectedRow_ = 1;
    std::uint8_t previous_ = 0;
};

}  // namespace velarix
