#include "eeprom_page.h"

#include <QGroupBox>

#include "eeprom_grid.h"
#include "layout_rules.h"
#include "log_memo.h"
#include "status_panel.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kColumnWidth = 137;
constexpr int kButtonHeight = 25;
constexpr int kStatusHeight = 116;

const StatusPanelNames kStatusNames{"GroupBox2",
                                    {"Label1", "Label2", "Label3", "Label116", "Label115"},
                                    {"Label4", "Label5", "Label6", "Label121", "Label122"}};

const LogMemoNames kLogNames{"Memo1", "PopupMenu1", "Guardarcomo1", "Borrar1", "Copiar1"};

}  // namespace

EepromPage::EepromPage(EepromImage& image, HexEditing& editing, FileDialogs& dialogs,
                       BoxPresenter& boxes, QWidget* parent)
    : QWidget(parent), subPages_(new QTabWidget(this)), rightColumn_(new QWidget(this)) {
    setObjectName(QStringLiteral("TabSheet1"));
    subPages_->setObjectName(QStringLiteral("PageControl2"));
    subPages_->setTabPosition(QTabWidget::East);
    hexPage_ = AddPage(subPages_, "TabSheet11");
    fieldsPage_ = AddPage(subPages_, "TabSheet12");
    grid_ = new HexGrid(image, editing, hexPage_);
    log_ = new LogMemo(kLogNames, dialogs, boxes, hexPage_);
    OnResize(hexPage_, [this](QSize sub) {
        const auto layout = LayOutHexSubPage(sub);
        grid_->setGeometry(layout.grid);
        log_->setGeometry(layout.log);
    });

    auto* column = rightColumn_;
    receiveButton = MakeButton(column, "Button1", {0, 0, kColumnWidth, kButtonHeight});
    sendButton = MakeButton(column, "Button7", {0, 30, kColumnWidth, kButtonHeight});
    verifyButton = MakeButton(column, "Button4", {0, 60, kColumnWidth, kButtonHeight});
    eraseButton = MakeButton(column, "Button3", {0, 90, kColumnWidth, kButtonHeight});
    readButton = MakeButton(column, "Button2", {0, 130, kColumnWidth, kButtonHeight});
    saveButton = MakeButton(column, "Button8", {0, 160, kColumnWidth, kButtonHeight});
    auto* length = new QGroupBox(column);
    length->setObjectName(QStringLiteral("GroupBox16"));
    length->setGeometry(0, 198, kColumnWidth, 92);
    wholeChoice = MakeRadio(length, "RadioButton13", {8, 20, kColumnWidth - 12, 22});
    firstChoice = MakeRadio(length, "RadioButton14", {8, 43, kColumnWidth - 12, 22});
    rowChoice = MakeRadio(length, "RadioButton15", {8, 66, kColumnWidth - 12, 22});
    wholeChoice->setChecked(true);

    status_ = new StatusPanel(kStatusNames, this);
    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("ProgressBar1"));
    progress_->setMaximum(127);
    progress_->setTextVisible(false);
    OnResize(this, [this](QSize page) { LayOut(page); });
}

void EepromPage::LayOut(QSize page) {
    const auto layout = LayOutEepromPage(page);
    subPages_->setGeometry(layout.subPages);
    const int left = layout.subPages.right() + 5;
    rightColumn_->setGeometry(left, 2, kColumnWidth, layout.statusTop - 4);
    status_->setGeometry(left, layout.statusTop, kColumnWidth, kStatusHeight);
    progress_->setGeometry(2, page.height() - 13, page.width() - 4, 11);
}

}  // namespace velarix::gui
