#include "eeprom_grid.h"

#include <QFontDatabase>
#include <QHeaderView>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/hex_editing.h"
#include "layout_rules.h"

namespace velarix::gui {

EepromGridModel::EepromGridModel(EepromImage& image, HexEditing& editing, QObject* parent)
    : QAbstractTableModel(parent), image_(image), editing_(editing) {
    connect(&image_, &EepromImage::CellsChanged, this, [this](int first, int last) {
        const int firstRow = first / EepromImage::kColumns;
        const int lastRow = last / EepromImage::kColumns;
        emit dataChanged(index(firstRow, 0), index(lastRow, EepromImage::kColumns - 1));
    });
}

int EepromGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : EepromImage::kRows;
}

int EepromGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : EepromImage::kColumns;
}

QVariant EepromGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) {
        return image_.CellAt(index.row() + 1, index.column() + 1);
    }
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    return {};
}

QVariant EepromGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::TextAlignmentRole) return int(Qt::AlignCenter);
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Horizontal) return HexText(section, 1);
    return HexText(section, 2) + QLatin1Char('0');
}

Qt::ItemFlags EepromGridModel::flags(const QModelIndex& index) const {
    return QAbstractTableModel::flags(index) | Qt::ItemIsEditable;
}

bool EepromGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    editing_.EditingValidated(index.row() + 1, index.column() + 1, value.toString());
    return true;
}

HexCellDelegate::HexCellDelegate(HexEditing& editing, QObject* parent)
    : QStyledItemDelegate(parent), editing_(editing) {
    connect(this, &QAbstractItemDelegate::closeEditor, this,
            [this](QWidget*, QAbstractItemDelegate::EndEditHint hint) {
                if (hint == QAbstractItemDelegate::RevertModelCache && editing_index_.isValid()) {
                    editing_.EditingCancelled(editing_index_.row() + 1,
                                              editing_index_.column() + 1);
                }
            });
}

QWidget* HexCellDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                       const QModelIndex& index) const {
    editing_index_ = index;
    editing_.EditingBegins(index.row() + 1, index.column() + 1);
    return QStyledItemDelegate::createEditor(parent, option, index);
}

HexGrid::HexGrid(EepromImage& image, HexEditing& editing, QWidget* parent)
    : QTableView(parent), editing_(editing) {
    setObjectName(QStringLiteral("StringAlignGrid1"));
    setModel(new EepromGridModel(image, editing, this));
    setItemDelegate(new HexCellDelegate(editing, this));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    horizontalHeader()->setFont(fixed);
    verticalHeader()->setFont(fixed);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setDefaultSectionSize(23);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setSelectionMode(QAbstractItemView::ContiguousSelection);
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                    QAbstractItemView::AnyKeyPressed);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) {
                if (current.isValid()) editing_.CellSelected(current.row() + 1);
            });
}

void HexGrid::SetColumnWidths(int channelGridWidth) {
    const auto widths = HexGridColumnWidths(width(), channelGridWidth);
    verticalHeader()->setFixedWidth(widths[0]);
    for (int c = 1; c <= 16; ++c) setColumnWidth(c - 1, std::max(widths[c], 1));
}

}  // namespace velarix::gui
