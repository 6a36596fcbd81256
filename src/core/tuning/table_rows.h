#pragma once

#include <QObject>
#include <QString>
#include <array>
#include <cstdint>
#include <vector>

namespace velarix {

// A row colour as 0xRRGGBB.
using RowColour = std::uint32_t;

inline constexpr RowColour kWhite = 0xFFFFFF;
inline constexpr RowColour kRadioBlue = 0xBFD0F5;   // VPID 65535, APID not 65535
inline constexpr RowColour kDataGreen = 0xBFF5C0;   // VPID and APID 65535
inline constexpr RowColour kTelevision = 0xF5E2AF;  // any other channel

// Columns of the channel grid. Column 0 holds the row number.
namespace channel_column {
inline constexpr int kName = 1, kTrsp = 2, kSid = 3, kVpid = 4, kApid = 5, kVecm = 6, kAecm = 7,
                     kPcr = 8, kSta = 9, kSat = 10;
}
// Columns of the transponder grid.
namespace transponder_column {
inline constexpr int kFrec = 1, kTrsp = 2, kNet = 3, kFec = 4, kPol = 5, kSr = 6, kTone = 7,
                     kCan = 8, kBand = 9, kSat = 10;
}

// One row of a table grid: the texts of columns 0 (row number) to 10, and the
// row's background colour.
struct TableRow {
    static constexpr int kColumns = 11;
    std::array<QString, kColumns> cells;
    RowColour colour = kWhite;

    bool operator==(const TableRow&) const = default;
};

// The working copy of a channel or transponder table: grid rows of texts, row
// 0 the column headings, rows 1 and up one record each. Every rule about a
// field is a rule about these texts; records exist only while a table is read
// from bytes or written to bytes. Views are told of every change; changes made
// inside a Batch are told once, when the outermost batch ends.
class TableRows : public QObject {
    Q_OBJECT
public:
    explicit TableRows(int rows, QObject* parent = nullptr);

    // Grid rows, heading row included.
    int RowCount() const { return static_cast<int>(rows_.size()); }
    // Record rows: 1 to RecordCount().
    int RecordCount() const { return RowCount() - 1; }

    const QString& Cell(int row, int column) const { return rows_[row].cells[column]; }
    void SetCell(int row, int column, const QString& text);
    RowColour Colour(int row) const { return rows_[row].colour; }
    void SetColour(int row, RowColour colour);
    const TableRow& Row(int row) const { return rows_[row]; }
    // Replaces columns 1 to 10 and the colour; the row keeps its number.
    void SetRowContents(int row, const TableRow& contents);
    // Replaces the whole row, its number included.
    void SetRow(int row, const TableRow& contents);

    // Changes the number of grid rows: rows past the new end are dropped, new
    // rows are numbered and hold empty texts, white.
    void SetRowCount(int rows);
    // Column 0 of rows first..last becomes "first".."last".
    void Renumber(int first, int last);

    // The whole table, for keeping a state to come back to.
    const std::vector<TableRow>& Rows() const { return rows_; }
    void SetRows(std::vector<TableRow> rows);

    // Gathers the notifications of many changes into one.
    class Batch {
    public:
        explicit Batch(TableRows& rows) : rows_(rows) { ++rows_.batchDepth_; }
        ~Batch();
        Batch(const Batch&) = delete;
        Batch& operator=(const Batch&) = delete;

    private:
        TableRows& rows_;
    };

signals:
    // Cells or colours of rows first..last changed (row 0 is the heading row).
    void RowsChanged(int first, int last);
    // The row count is about to change from `from` to `to`, and has changed.
    void RowCountAboutToChange(int from, int to);
    void RowCountChanged(int from, int to);

private:
    void Touch(int row);

    std::vector<TableRow> rows_;
    int batchDepth_ = 0;
    int dirtyFirst_ = -1;
    int dirtyLast_ = -1;
};

}  // namespace velarix
