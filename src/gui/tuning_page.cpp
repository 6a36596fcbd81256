#include "tuning_page.h"

#include <QFontDatabase>
#include <QHeaderView>

#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kDataColumns = 10;
constexpr int kChannelRows = 1000;  // rows of the grid, heading row included
constexpr int kTransponderRows = 100;
constexpr int kSectionsHeight = 45;

}  // namespace

TableGrid::TableGrid(const char* name, int rows, QWidget* parent) : QTableView(parent) {
    setObjectName(QString::fromLatin1(name));
    setModel(new QStandardItemModel(rows - 1, kDataColumns, this));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    setFont(fixed);
    horizontalHeader()->setFont(fixed);
    verticalHeader()->setFont(fixed);
    verticalHeader()->setDefaultSectionSize(16);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
}

void TableGrid::SetColumnWidths(const std::array<int, 11>& widths) {
    verticalHeader()->setFixedWidth(std::max(widths[0], 1));
    for (int c = 1; c <= kDataColumns; ++c) setColumnWidth(c - 1, std::max(widths[c], 1));
}

void TableGrid::SetRows(int rows) {
    auto* table = static_cast<QStandardItemModel*>(model());
    table->setRowCount(std::max(rows - 1, 0));
}

void TableGrid::RenameSatellite(const QString& old, const QString& name, int rows) {
    auto* table = static_cast<QStandardItemModel*>(model());
    constexpr int kSatColumn = 9;  // SAT, column 10 of the grid
    for (int row = 0; row < std::min(rows - 1, table->rowCount()); ++row) {
        QStandardItem* cell = table->item(row, kSatColumn);
        if (cell && cell->text() == old) cell->setText(name);
    }
}

TuningPage::TuningPage(QWidget* parent)
    : QWidget(parent), subPages_(new QTabWidget(this)), sections_(new QGroupBox(this)) {
    setObjectName(QStringLiteral("TabSheet7"));
    subPages_->setObjectName(QStringLiteral("PageControl4"));
    channelPage_ = AddPage(subPages_, "TabSheet8");
    transponderPage_ = AddPage(subPages_, "TabSheet9");
    channels_ = new TableGrid("StringAlignGrid2", kChannelRows, channelPage_);
    transponders_ = new TableGrid("StringAlignGrid3", kTransponderRows, transponderPage_);
    sections_->setObjectName(QStringLiteral("GroupBox10"));
    OnResize(this, [this](QSize page) {
        subPages_->setGeometry(0, 0, page.width() - kTuningSideColumn, page.height());
        sections_->setGeometry(page.width() - kTuningSideColumn + 4, page.height() - 51,
                               kTuningSideColumn - 8, kSectionsHeight);
    });
    OnResize(channelPage_,
             [this](QSize sub) { channels_->setGeometry(0, 0, sub.width(), sub.height()); });
    OnResize(transponderPage_,
             [this](QSize sub) { transponders_->setGeometry(0, 0, sub.width(), sub.height()); });
}

}  // namespace velarix::gui
