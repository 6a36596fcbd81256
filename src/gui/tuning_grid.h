#pragma once

#include <QAbstractTableModel>
#include <QTableView>
#include <array>
#include <functional>

#include "tuning/table_editing.h"
#include "tuning/table_rows.h"

namespace velarix::gui {

// Shows a channel or transponder table held in the core: one view row per
// record row, ten data columns headed by row 0, the row numbers in the
// vertical header, channel rows in their colours. The texts stay in the core;
// headings set through the model (the language) are written into row 0.
class TableGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    TableGridModel(TableRows& rows, bool coloured, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    bool setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                       int role) override;

private:
    TableRows& rows_;
    bool coloured_;
};

// A channel or transponder grid: whole rows selected, a range at a time. A
// row is dragged to another place by its number.
class TableGrid : public QTableView {
    Q_OBJECT
public:
    TableGrid(const char* name, TableRows& rows, bool coloured, QWidget* parent);
    // Sets the heading and column widths by the grid's rule for its width.
    void SetColumnWidths(const std::array<int, 11>& widths);
    // The table row (1..) of the current cell; 0 when there is none.
    int CurrentRow() const;
    // The selected rows, top to bottom; the current row when none is.
    RowRange SelectedRows() const;
    // Selects rows first..last, the first one current, and shows them.
    void SelectRows(RowRange rows);
    // Whether a row may be dragged by its number.
    void SetRowsDraggable(bool draggable);

    // Sees every key typed in the grid first; a key it takes goes no further.
    std::function<bool(QKeyEvent*)> keyTyped;

signals:
    // A row was dragged by its number from table row `from` to row `to`. The
    // grid shows rows in table order: the table makes the move.
    void RowDragged(int from, int to);

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace velarix::gui
