#include "firmware_page.h"

#include "layout_rules.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kColumnWidth = 171;
constexpr int kStatusHeight = 116;

}  // namespace

const FirmwarePageNames kParallelFirmwareNames{
    "TabSheet3",
    {"GroupBox5",
     {"Label20", "Label21", "Label22", "Label117", "Label118"},
     {"Label23", "Label24", "Label25", "Label123", "Label124"}},
    {"Memo3", "PopupMenu3", "Guardarcomo2", "Borrar2", "Copiar2"},
    "ProgressBar2"};

const FirmwarePageNames kJtagFirmwareNames{
    "TabSheet2",
    {"GroupBox8",
     {"Label59", "Label35", "Label61", "Label119", "Label120"},
     {"Label62", "Label63", "Label64", "Label125", "Label126"}},
    {"Memo4", "PopupMenu4", "Guardarcomo4", "Borrar4", "Copiar4"},
    "ProgressBar3"};

FirmwarePage::FirmwarePage(const FirmwarePageNames& names, FileDialogs& dialogs,
                           BoxPresenter& boxes, QWidget* parent)
    : QWidget(parent),
      log_(new LogMemo(names.log, dialogs, boxes, this)),
      status_(new StatusPanel(names.status, this)),
      progress_(new QProgressBar(this)),
      controls_(new QWidget(this)) {
    setObjectName(QString::fromLatin1(names.page));
    progress_->setObjectName(QString::fromLatin1(names.progress));
    progress_->setTextVisible(false);
    OnResize(this, [this](QSize page) { LayOut(page); });
}

void FirmwarePage::LayOut(QSize page) {
    const auto layout = LayOutFirmwarePage(page);
    log_->setGeometry(layout.log);
    const int left = layout.log.right() + 5;
    controls_->setGeometry(left, 0, kColumnWidth, layout.statusTop - 2);
    status_->setGeometry(left, layout.statusTop, kColumnWidth, kStatusHeight);
    progress_->setGeometry(2, page.height() - 13, page.width() - 4, 11);
}

}  // namespace velarix::gui
