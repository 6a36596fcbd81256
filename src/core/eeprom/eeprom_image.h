#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

namespace velarix {

class OperationFrame;

// The program's copy of the decoder's 2048-byte configuration EEPROM, held as
// 128 rows of 16 cell texts. A valid cell is two upper-case hexadecimal digits,
// but any text may stand in a cell (a serial reply is stored unchecked).
//
// Cells are addressed by byte address 0..2047; grid coordinates (row 1..128,
// column 1..16, as the hex editor shows them) are offered where the page
// speaks of grid rows.
class EepromImage : public QObject {
    Q_OBJECT
public:
    static constexpr int kSize = 2048;
    static constexpr int kRows = 128;
    static constexpr int kColumns = 16;

    explicit EepromImage(QObject* parent = nullptr);

    QString Cell(int address) const;
    void SetCell(int address, const QString& text);
    QString CellAt(int gridRow, int gridColumn) const;
    void SetCellAt(int gridRow, int gridColumn, const QString& text);

    // The 16 cell texts of EEPROM row `row` (0..127) joined without separator.
    QString RowText(int row) const;
    // Sets the 16 cells of EEPROM row `row` from consecutive pairs of `text`.
    void SetRowPairs(int row, QStringView text);

    // Every cell "FF", column by column.
    void EraseImage();
    // Byte i is HexToInt of cell i taken modulo 256 (an invalid cell gives FF).
    QByteArray GetImageBytes() const;
    // Cells start..start+count-1 (within the image) from buffer[0..].
    void PutImageBytes(const QByteArray& buffer, int start, int count);

    // The address of the first cell, row by row, that is not a valid byte.
    std::optional<int> FirstInvalidCell() const;

signals:
    // Cells first..last (addresses) changed.
    void CellsChanged(int first, int last);

private:
    std::array<QString, kSize> cells_;
};

// Checks every cell before the image is written or verified; on the first
// invalid cell shows the error box naming its address and returns false.
bool ValidateImage(const EepromImage& image, OperationFrame& frame);

// The three-digit address text the hex editor shows for a cell: the row as two
// hexadecimal digits, then the column as one.
QString CellAddressText(int address);

}  // namespace velarix
