#pragma once

#include <QGroupBox>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

namespace velarix::gui {

// Room on the right of the "Sintonización" page for its buttons.
inline constexpr int kTuningSideColumn = 158;

// A channel or transponder grid: the row numbers in the heading column,
// ten data columns headed from the message table.
class TableGrid : public QTableView {
    Q_OBJECT
public:
    TableGrid(const char* name, int rows, QWidget* parent);
    // Sets the heading and column widths by the grid's rule for its width.
    void SetColumnWidths(const std::array<int, 11>& widths);
    // The grid's rows, heading row included; new rows are numbered.
    void SetRows(int rows);
    // Every SAT cell of rows 1..rows-1 that reads `old` reads `name` after.
    void RenameSatellite(const QString& old, const QString& name, int rows);
};

// The "Sintonización" page: the sub-pages "Tabla de Canales" and "Tabla de
// Transpondedores" with their grids, and the " Secciones Activas " group.
class TuningPage : public QWidget {
    Q_OBJECT
public:
    explicit TuningPage(QWidget* parent = nullptr);

    QTabWidget* SubPages() const { return subPages_; }
    QWidget* ChannelSubPage() const { return channelPage_; }
    QWidget* TransponderSubPage() const { return transponderPage_; }
    TableGrid* ChannelGrid() const { return channels_; }
    TableGrid* TransponderGrid() const { return transponders_; }

private:
    QTabWidget* subPages_;
    QWidget* channelPage_;
    QWidget* transponderPage_;
    TableGrid* channels_;
    TableGrid* transponders_;
    QGroupBox* sections_;
};

}  // namespace velarix::gui
