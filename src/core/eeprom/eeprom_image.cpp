#include "eeprom/eeprom_image.h"

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"

namespace velarix {

namespace {

const QString kErased = QStringLiteral("FF");

bool InImage(int address) {
    return address >= 0 && address < EepromImage::kSize;
}

int AddressAt(int gridRow, int gridColumn) {
    return (gridRow - 1) * EepromImage::kColumns + (gridColumn - 1);
}

}  // namespace

EepromImage::EepromImage(QObject* parent) : QObject(parent) {
    cells_.fill(kErased);
}

QString EepromImage::Cell(int address) const {
    return InImage(address) ? cells_[address] : QString();
}

void EepromImage::SetCell(int address, const QString& text) {
    if (!InImage(address) || cells_[address] == text) return;
    cells_[address] = text;
    emit CellsChanged(address, address);
}

QString EepromImage::CellAt(int gridRow, int gridColumn) const {
    return Cell(AddressAt(gridRow, gridColumn));
}

void EepromImage::SetCellAt(int gridRow, int gridColumn, const QString& text) {
    SetCell(AddressAt(gridRow, gridColumn), text);
}

QString EepromImage::RowText(int row) const {
    QString text;
    for (int c = 0; c < kColumns; ++c) text += Cell(row * kColumns + c);
    return text;
}

void EepromImage::SetRowPairs(int row, QStringView text) {
    if (row < 0 || row >= kRows) return;
    for (int c = 0; c < kColumns; ++c) cells_[row * kColumns + c] = text.mid(2 * c, 2).toString();
    emit CellsChanged(row * kColumns, row * kColumns + kColumns - 1);
}

void EepromImage::EraseImage() {
    cells_.fill(kErased);
    emit CellsChanged(0, kSize - 1);
}

QByteArray EepromImage::GetImageBytes() const {
    QByteArray bytes(kSize, '\0');
    for (int a = 0; a < kSize; ++a) bytes[a] = static_cast<char>(HexToInt(cells_[a]) & 0xFF);
    return bytes;
}

void EepromImage::PutImageBytes(const QByteArray& buffer, int start, int count) {
    const int first = std::max(start, 0);
    const int end = std::min({start + count, kSize, start + static_cast<int>(buffer.size())});
    if (first >= end) return;
    for (int a = first; a < end; ++a) {
        cells_[a] = HexText(static_cast<quint8>(buffer[a - start]), 2);
    }
    emit CellsChanged(first, end - 1);
}

std::optional<int> EepromImage::FirstInvalidCell() const {
    for (int a = 0; a < kSize; ++a) {
        if (!IsByteText(cells_[a])) return a;
    }
    return std::nullopt;
}

QString CellAddressText(int address) {
    return HexText(address / EepromImage::kColumns, 2) +
           HexText(address % EepromImage::kColumns, 1);
}

bool ValidateImage(const EepromImage& image, OperationFrame& frame) {
    const auto invalid = image.FirstInvalidCell();
    if (!invalid) return true;
    frame.ShowMessage(BoxKind::Error, Msg(192) + CellAddressText(*invalid) + Msg(193));
    return false;
}

}  // namespace velarix
