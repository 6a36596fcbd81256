#include "tform1.h"

#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>

#include "about_page.h"
#include "apply_texts.h"
#include "box_presenter.h"
#include "channel_dialog.h"
#include "configuration_page.h"
#include "eeprom_grid.h"
#include "eeprom_page.h"
#include "fields_page.h"
#include "firmware_page.h"
#include "layout_rules.h"
#include "lpt/firmware_upload.h"
#include "lpt/port_timing.h"
#include "parallel_firmware_controls.h"
#include "picture_page.h"
#include "qt_file_dialogs.h"
#include "search_dialog.h"
#include "shell/message_table.h"
#include "shell/title.h"
#include "shell/whole_file.h"
#include "swap_dialog.h"
#include "terminal_page.h"
#include "transponder_dialog.h"
#include "tuning_page.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

TableImageToSend ToSend(std::variant<QByteArray, QString> table) {
    if (auto* message = std::get_if<QString>(&table)) return {{}, *message};
    return {std::get<QByteArray>(std::move(table)), {}};
}

}  // namespace

TForm1::TForm1(WindowServices services, QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("TForm1"));
    setWindowTitle(TitleText());
    if (!services.dialogs) ownDialogs_ = std::make_unique<QtFileDialogs>(folders_, this);
    if (!services.boxes) ownBoxes_ = std::make_unique<DialogBoxPresenter>(this);
    dialogs_ = services.dialogs ? services.dialogs : ownDialogs_.get();
    boxes_ = services.boxes ? services.boxes : ownBoxes_.get();
    LoadSettingsAtStart(services);
    BuildPages();
    frame_ = std::make_unique<WidgetOperationFrame>(
        FrameWidgets{{eeprom_->Status(), parallel_->Status(), jtag_->Status()},
                     {eeprom_->Progress(), parallel_->Progress(), jtag_->Progress()},
                     {eeprom_->Log(), parallel_->Log(), terminal_->Log(), jtag_->Log()},
                     this},
        *boxes_);
    ApplyLanguage();
    configuration_->Refresh();
    ApplyChannelCount();
    ApplyTransponderCount();
    StartSerial(services);
    ConnectEepromPage();
    ConnectTerminalPage();
    ConnectConfigurationPage();
    ConnectPicturePage();
    ConnectJtagPage(services);
    ConnectTuningPage();
    // The pages that read or send a channel table reach the window's tables.
    flashTableImage = [this] { return tables_.FlashImageToSend(); };
    jtagRamTableRead = [this](const QByteArray& bytes) {
        tables_.LoadTable(bytes, TableKind::RamTable, *frame_);
    };
    jtagFlashTableRead = [this](const QByteArray& bytes) {
        tables_.LoadTable(bytes, TableKind::FlashImage, *frame_);
    };
    jtagFlashTableToSend = [this] {
        // Over JTAG only a flash table is a FLASH channel table to send.
        if (tables_.RamMode()) return TableImageToSend{{}, Msg(195)};
        return ToSend(tables_.FlashImageToSend());
    };
    jtagRamTableToSend = [this] {
        const int size = settings_.channelCount == 1 ? 0xEC00 : 0x7600;
        return ToSend(tables_.RamImageToSend(size));
    };
    ConnectFirmwarePage(services);
    resize(settings_.windowWidth, settings_.windowHeight);
    move(StoredPlaceOnScreen());
    pages_->setCurrentIndex(settings_.activePage);
    folders_.SetOpenFolder(settings_.openFolder);
    folders_.SetSaveFolder(settings_.saveFolder);
    editing_.SetSelectedRow(1);
}

// The stored position, brought onto the nearest screen when it lies off
// every screen (a screen unplugged since, another resolution).
QPoint TForm1::StoredPlaceOnScreen() const {
    QList<QRect> screens;
    for (const QScreen* screen : QGuiApplication::screens()) screens << screen->availableGeometry();
    return PlaceOnScreen(
        QRect(settings_.left, settings_.top, settings_.windowWidth, settings_.windowHeight),
        screens);
}

// The pages go first: an editor still open in a grid commits its text as it
// closes, and the image it writes to must still be there.
TForm1::~TForm1() {
    delete takeCentralWidget();
}

// The pages in their tab order.
void TForm1::BuildPages() {
    pages_ = new QTabWidget(this);
    pages_->setObjectName(QStringLiteral("PageControl1"));
    // All eight tabs should fit the narrowest window on one line.
    pages_->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 4px 6px; }"));
    setCentralWidget(pages_);
    eeprom_ = new EepromPage(image_, editing_, *dialogs_, *boxes_);
    fieldsPage_ = new FieldsPage(eeprom_->FieldsSubPage(), fields_);
    parallel_ = new FirmwarePage(kParallelFirmwareNames, *dialogs_, *boxes_);
    firmwareControls_ = new ParallelFirmwareControls(parallel_->Controls(), settings_);
    jtag_ = new FirmwarePage(kJtagFirmwareNames, *dialogs_, *boxes_);
    terminal_ = new TerminalPage(*dialogs_, *boxes_);
    tuning_ = new TuningPage(tables_);
    picture_ = new PicturePage;
    configuration_ = new ConfigurationPage(settings_);
    about_ = new AboutPage;
    for (QWidget* page : std::initializer_list<QWidget*>{
             eeprom_, parallel_, jtag_, terminal_, tuning_, picture_, configuration_, about_}) {
        pages_->addTab(page, QString());
    }
    OnResize(eeprom_->Grid(), [this](QSize) { SetColumnWidths(); });
    OnResize(tuning_->ChannelGrid(), [this](QSize) { SetColumnWidths(); });
    OnResize(tuning_->TransponderGrid(), [this](QSize) { SetColumnWidths(); });
    connect(pages_, &QTabWidget::currentChanged, this, [this] { SetColumnWidths(); });
}

std::optional<std::pair<FileChoice, QByteArray>> TForm1::AskAndReadFile(const QString& filter,
                                                                        qint64 limit) {
    const auto choice = dialogs_->AskOpen(filter, 1);
    if (!choice) return std::nullopt;
    FileRead file = limit < 0 ? ReadWholeFile(choice->path) : ReadFileHead(choice->path, limit);
    if (!file.ok()) {
        boxes_->Show(BoxKind::Error, file.error);
        return std::nullopt;
    }
    return std::pair{*choice, std::move(file.bytes)};
}

// The hex grid's last column takes what the channel grid's width leaves. A
// page is laid out only when it comes to the front, so while "Sintonización"
// has not been shown at the current size its grid's width is taken from the
// page width, less the room its sub-page control took the last time.
int TForm1::ChannelGridWidth() const {
    auto* grid = tuning_->ChannelGrid();
    auto* subPages = tuning_->SubPages();
    if (tuning_->size() == eeprom_->size() && grid->isVisible()) {
        channelGridChrome_ = subPages->width() - grid->width();
    }
    return eeprom_->width() - kTuningSideColumn - channelGridChrome_;
}

void TForm1::SetColumnWidths() {
    eeprom_->Grid()->SetColumnWidths(ChannelGridWidth());
    tuning_->ChannelGrid()->SetColumnWidths(
        ChannelGridColumnWidths(tuning_->ChannelGrid()->width()));
    tuning_->TransponderGrid()->SetColumnWidths(
        TransponderGridColumnWidths(tuning_->TransponderGrid()->width()));
}

void TForm1::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (!shown_) {
        shown_ = true;
        FirstShown();
    }
}

// Once the window is on screen it may not be made smaller than its minimum
// outer size; before that any size is accepted.
void TForm1::FirstShown() {
    const QSize frame = frameGeometry().size() - geometry().size();
    setMinimumSize(kMinimumWindowSize - frame);
    SetColumnWidths();
    about_->ColourVersion();
    RefreshInterpretedFields();
}

}  // namespace velarix::gui
