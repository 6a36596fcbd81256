#include "tuning/table_rows.h"

#include <algorithm>

namespace velarix {

TableRows::TableRows(int rows, QObject* parent) : QObject(parent) {
    rows_.resize(static_cast<std::size_t>(std::max(rows, 1)));
    Renumber(1, RecordCount());
}

void TableRows::Touch(int row) {
    if (batchDepth_ > 0) {
        dirtyFirst_ = dirtyFirst_ < 0 ? row : std::min(dirtyFirst_, row);
        dirtyLast_ = std::max(dirtyLast_, row);
        return;
    }
    emit RowsChanged(row, row);
}

TableRows::Batch::~Batch() {
    if (--rows_.batchDepth_ > 0 || rows_.dirtyFirst_ < 0) return;
    const int first = rows_.dirtyFirst_;
    const int last = rows_.dirtyLast_;
    rows_.dirtyFirst_ = rows_.dirtyLast_ = -1;
    emit rows_.RowsChanged(first, std::min(last, rows_.RowCount() - 1));
}

void TableRows::SetCell(int row, int column, const QString& text) {
    QString& cell = rows_[row].cells[column];
    if (cell == text) return;
    cell = text;
    Touch(row);
}

void TableRows::SetColour(int row, RowColour colour) {
    if (rows_[row].colour == colour) return;
    rows_[row].colour = colour;
    Touch(row);
}

void TableRows::SetRowContents(int row, const TableRow& contents) {
    TableRow& target = rows_[row];
    QString number = std::move(target.cells[0]);
    target = contents;
    target.cells[0] = std::move(number);
    Touch(row);
}

void TableRows::SetRow(int row, const TableRow& contents) {
    if (rows_[row] == contents) return;
    rows_[row] = contents;
    Touch(row);
}

void TableRows::SetRowCount(int rows) {
    rows = std::max(rows, 1);
    const int from = RowCount();
    if (rows == from) return;
    emit RowCountAboutToChange(from, rows);
    rows_.resize(static_cast<std::size_t>(rows));
    if (rows > from) {
        for (int r = from; r < rows; ++r) rows_[r].cells[0] = QString::number(r);
    }
    if (dirtyLast_ >= rows) dirtyLast_ = rows - 1;
    if (dirtyFirst_ >= rows) dirtyFirst_ = dirtyLast_ = -1;
    emit RowCountChanged(from, rows);
}

void TableRows::Renumber(int first, int last) {
    const Batch batch(*this);
    for (int r = std::max(first, 1); r <= std::min(last, RecordCount()); ++r)
        SetCell(r, 0, QString::number(r));
}

void TableRows::SetRows(std::vector<TableRow> rows) {
    if (rows.empty()) rows.resize(1);
    SetRowCount(static_cast<int>(rows.size()));
    rows_ = std::move(rows);
    emit RowsChanged(0, RowCount() - 1);
}

}  // namespace velarix
