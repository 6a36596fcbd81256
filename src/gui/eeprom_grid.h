#pragma once

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>

namespace velarix {
class EepromImage;
class HexEditing;
}  // namespace velarix

namespace velarix::gui {

// Shows the EEPROM image as 128 rows of 16 cells, headed "0".."F" and
// "000".."7F0". Edits go through the hex editor's rules.
class EepromGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    EepromGridModel(EepromImage& image, HexEditing& editing, QObject* parent);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

private:
    EepromImage& image_;
    HexEditing& editing_;
};

// The in-place editor of a cell: tells the editing rules when editing begins
// and when it is cancelled with Escape.
class HexCellDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    HexCellDelegate(HexEditing& editing, QObject* parent);
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;

private:
    HexEditing& editing_;
    mutable QModelIndex editing_index_;
};

// The hex grid of the "Editor Hexadecimal" sub-page.
class HexGrid : public QTableView {
    Q_OBJECT
public:
    HexGrid(EepromImage& image, HexEditing& editing, QWidget* parent);
    // Sets the column widths from the grid's own width and the channel grid's.
    void SetColumnWidths(int channelGridWidth);

private:
    HexEditing& editing_;
};

}  // namespace velarix::gui
