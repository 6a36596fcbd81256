#include "tuning_grid.h"

#include <QColor>
#include <QFontDatabase>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSignalBlocker>

namespace velarix::gui {

namespace {

constexpr int kDataColumns = 10;

}  // namespace

TableGridModel::TableGridModel(TableRows& rows, bool coloured, QObject* parent)
    : QAbstractTableModel(parent), rows_(rows), coloured_(coloured) {
    connect(&rows_, &TableRows::RowsChanged, this, [this](int first, int last) {
        if (first == 0) emit headerDataChanged(Qt::Horizontal, 0, kDataColumns - 1);
        first = std::max(first, 1);
        if (last < first) return;
        emit dataChanged(index(first - 1, 0), index(last - 1, kDataColumns - 1));
        emit headerDataChanged(Qt::Vertical, first - 1, last - 1);
    });
    connect(&rows_, &TableRows::RowCountAboutToChange, this, [this](int from, int to) {
        if (to > from) {
            beginInsertRows({}, from - 1, to - 2);
        } else {
            beginRemoveRows({}, to - 1, from - 2);
        }
    });
    connect(&rows_, &TableRows::RowCountChanged, this, [this](int from, int to) {
        if (to > from) {
            endInsertRows();
        } else {
            endRemoveRows();
        }
    });
}

int TableGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_.RecordCount();
}

int TableGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kDataColumns;
}

QVariant TableGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    switch (role) {
        case Qt::DisplayRole:
            return rows_.Cell(index.row() + 1, index.column() + 1);
        case Qt::BackgroundRole:
            if (!coloured_) return {};
            return QColor::fromRgb(rows_.Colour(index.row() + 1));
        case Qt::TextAlignmentRole:
            return int(Qt::AlignCenter);
        default:
            return {};
    }
}

QVariant TableGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole || section < 0) return {};
    if (orientation == Qt::Horizontal)
        return section < kDataColumns ? rows_.Cell(0, section + 1) : QVariant();
    return section < rows_.RecordCount() ? rows_.Cell(section + 1, 0) : QVariant();
}

bool TableGridModel::setHeaderData(int section, Qt::Orientation orientation, const QVariant& value,
                                   int role) {
    if (orientation != Qt::Horizontal || role != Qt::EditRole || section < 0 ||
        section >= kDataColumns) {
        return false;
    }
    rows_.SetCell(0, section + 1, value.toString());
    return true;
}

TableGrid::TableGrid(const char* name, TableRows& rows, bool coloured, QWidget* parent)
    : QTableView(parent) {
    setObjectName(QString::fromLatin1(name));
    setModel(new TableGridModel(rows, coloured, this));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    horizontalHeader()->setFont(fixed);
    verticalHeader()->setFont(fixed);
    verticalHeader()->setDefaultSectionSize(16);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    // The header moves its sections only to show a drag; the rows themselves
    // move in the table, so the header goes back to table order at once.
    connect(verticalHeader(), &QHeaderView::sectionMoved, this,
            [this](int, int oldVisual, int newVisual) {
                {
                    const QSignalBlocker quiet(verticalHeader());
                    verticalHeader()->moveSection(newVisual, oldVisual);
                }
                emit RowDragged(oldVisual + 1, newVisual + 1);
            });
}

void TableGrid::SetRowsDraggable(bool draggable) {
    verticalHeader()->setSectionsMovable(draggable);
}

void TableGrid::keyPressEvent(QKeyEvent* event) {
    if (keyTyped && keyTyped(event)) {
        event->accept();
        return;
    }
    QTableView::keyPressEvent(event);
}

RowRange TableGrid::SelectedRows() const {
    const QModelIndexList rows = selectionModel()->selectedRows();
    if (rows.isEmpty()) {
        const int current = std::max(CurrentRow(), 1);
        return {current, current};
    }
    RowRange range{rows.first().row() + 1, rows.first().row() + 1};
    for (const QModelIndex& row : rows) {
        range.first = std::min(range.first, row.row() + 1);
        range.last = std::max(range.last, row.row() + 1);
    }
    return range;
}

void TableGrid::SelectRows(RowRange rows) {
    const QModelIndex first = model()->index(rows.first - 1, 0);
    const QModelIndex last = model()->index(rows.last - 1, model()->columnCount() - 1);
    if (!first.isValid() || !last.isValid()) return;
    selectionModel()->setCurrentIndex(first, QItemSelectionModel::NoUpdate);
    selectionModel()->select(QItemSelection(first, last), QItemSelectionModel::ClearAndSelect);
    scrollTo(last);
    scrollTo(first);
}

void TableGrid::SetColumnWidths(const std::array<int, 11>& widths) {
    verticalHeader()->setFixedWidth(std::max(widths[0], 1));
    for (int c = 1; c <= kDataColumns; ++c) setColumnWidth(c - 1, std::max(widths[c], 1));
}

int TableGrid::CurrentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() + 1 : 0;
}

}  // namespace velarix::gui
