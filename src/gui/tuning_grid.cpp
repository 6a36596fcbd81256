#include "tuning_grid.h"

#include <QColor>
#include <QFontDatabase>
#include <QHeaderView>

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
