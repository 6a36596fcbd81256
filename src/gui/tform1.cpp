#include "tform1.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLineEdit>
#include <QShowEvent>
#include <QStyle>
#include <QTabBar>

#include "about_page.h"
#include "apply_texts.h"
#include "box_presenter.h"
#include "config_jtag.h"
#include "config_serial.h"
#include "config_tuning.h"
#include "configuration_page.h"
#include "eeprom/eeprom_files.h"
#include "eeprom_grid.h"
#include "eeprom_page.h"
#include "fields_page.h"
#include "firmware_page.h"
#include "layout_rules.h"
#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "picture_page.h"
#include "qt_file_dialogs.h"
#include "shell/language.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "shell/settings_folder.h"
#include "shell/title.h"
#include "shell/whole_file.h"
#include "terminal_page.h"
#include "tuning_page.h"
#include "widgets.h"

namespace velarix::gui {

namespace {}  // namespace

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
    ApplyTableSizes();
    StartSerial(services);
    ConnectEepromPage();
    ConnectTerminalPage();
    ConnectConfigurationPage();
    ConnectPicturePage();
    move(settings_.left, settings_.top);
    resize(settings_.windowWidth, settings_.windowHeight);
    pages_->setCurrentIndex(settings_.activePage);
    folders_.SetOpenFolder(settings_.openFolder);
    folders_.SetSaveFolder(settings_.saveFolder);
    editing_.SetSelectedRow(1);
}

// The settings folder and the settings file as the window starts.
void TForm1::LoadSettingsAtStart(const WindowServices& services) {
    const QString folder =
        ResolveSettingsFolder(services.settingsFolder, QCoreApplication::applicationDirPath());
    settings_ = LoadSettings(folder, SerialPortNames(services.extraPorts));
    if (!services.selectPort.isEmpty())
        settings_.serial.port = settings_.ports.indexOf(services.selectPort);
}

// Every text from the language file chosen; the lists whose entries it
// rewrites keep their choices, and the port and model follow them again.
void TForm1::ApplyLanguage() {
    LoadLanguage(Messages(), settings_);
    ApplyTexts(this, Messages());
    configuration_->Retranslate();
}

void TForm1::ApplyTableSizes() {
    tuning_->ChannelGrid()->SetRows(settings_.channelRows);
    tuning_->TransponderGrid()->SetRows(settings_.transponderRows);
}

// Leaving the configuration page: a satellite whose name changed is renamed
// in the SAT column of both grids and in the satellite-name list.
void TForm1::RenameSatellites() {
    for (int i = 0; i < 4; ++i) {
        const QString name = settings_.satellites[i];
        const QString old = settings_.satelliteNames[i];
        if (name == old) continue;
        tuning_->ChannelGrid()->RenameSatellite(old, name, settings_.channelRows);
        tuning_->TransponderGrid()->RenameSatellite(old, name, settings_.transponderRows);
        settings_.satelliteNames[i] = name;
    }
}

void TForm1::ConnectConfigurationPage() {
    SerialSubPage* serialPage = configuration_->Serial();
    serialPage->portChosen = [this] {
        const QString name = settings_.ports.value(settings_.serial.port);
        if (name.isEmpty()) return;
        if (const auto error = serial_->OpenPort(name, settings_.serial))
            boxes_->Show(BoxKind::Error, *error);
    };
    serialPage->linesChanged = [this] { serial_->link.Port().Apply(settings_.serial); };
    configuration_->languageChosen = [this] {
        ApplyLanguage();
        RefreshInterpretedFields();
        serial_->link.Port().Apply(settings_.serial);
        configuration_->Jtag()->Refresh();
    };
    // "Valores por Defecto" applies the port's name and settings; a port that
    // is open moves to the new name, a closed one stays closed.
    configuration_->defaultsApplied = [this] {
        LinkPort& port = serial_->link.Port();
        port.Apply(settings_.serial);
        const QString name = settings_.ports.value(settings_.serial.port);
        QString error;
        if (!name.isEmpty() && name != port.Name() && !port.SetName(name, &error)) {
            boxes_->Show(BoxKind::Error, error);
        }
    };
    configuration_->Jtag()->modelChosen = [this] { RefreshInterpretedFields(); };
    configuration_->Tuning()->channelCountChosen = [this] { ApplyTableSizes(); };
    configuration_->Tuning()->transponderCountChosen = [this] { ApplyTableSizes(); };
    configuration_->left = [this] { RenameSatellites(); };
}

std::optional<QString> TForm1::SaveSettingsNow() {
    settings_.left = x();
    settings_.top = y();
    settings_.windowWidth = width();
    settings_.windowHeight = height();
    settings_.activePage = pages_->currentIndex();
    settings_.openFolder = folders_.OpenFolder();
    settings_.saveFolder = folders_.SaveFolder();
    return SaveSettings(settings_);
}

void TForm1::closeEvent(QCloseEvent* event) {
    if (const auto error = SaveSettingsNow()) boxes_->Show(BoxKind::Error, *error);
    QMainWindow::closeEvent(event);
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
    jtag_ = new FirmwarePage(kJtagFirmwareNames, *dialogs_, *boxes_);
    terminal_ = new TerminalPage(*dialogs_, *boxes_);
    tuning_ = new TuningPage;
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

// The serial port opens at start on the chosen entry of the port list; a port
// that cannot be opened is reported and the program goes on without it.
void TForm1::StartSerial(const WindowServices& services) {
    if (!services.clock) ownClock_ = std::make_unique<SystemClock>();
    if (!services.port) ownPort_ = std::make_unique<QtLinkPort>();
    Clock& clock = services.clock ? *services.clock : *ownClock_;
    LinkPort& port = services.port ? *services.port : *ownPort_;
    serial_ = std::make_unique<SerialTasks>(port, clock, *frame_, image_, editing_);
    serial_->transfer.refreshFields = [this] { RefreshInterpretedFields(); };
    serial_->transfer.showHexEditor = [this] {
        eeprom_->SubPages()->setCurrentWidget(eeprom_->HexSubPage());
    };
    const QString name = settings_.ports.value(settings_.serial.port);
    if (name.isEmpty()) return;
    if (const auto error = serial_->OpenPort(name, settings_.serial))
        boxes_->Show(BoxKind::Error, *error);
}

void TForm1::StartTransfer(EepromOperation operation) {
    const EepromLength length = eeprom_->firstChoice->isChecked() ? EepromLength::UpTo0AF
                                : eeprom_->rowChoice->isChecked() ? EepromLength::SelectedRow
                                                                  : EepromLength::Whole;
    serial_->transfer.Start(operation, length);
}

void TForm1::ConnectEepromPage() {
    connect(eeprom_->receiveButton, &QPushButton::clicked, this,
            [this] { StartTransfer(EepromOperation::Read); });
    connect(eeprom_->sendButton, &QPushButton::clicked, this,
            [this] { StartTransfer(EepromOperation::Write); });
    connect(eeprom_->verifyButton, &QPushButton::clicked, this,
            [this] { StartTransfer(EepromOperation::Verify); });
    connect(eeprom_->eraseButton, &QPushButton::clicked, this, [this] {
        image_.EraseImage();
        RefreshInterpretedFields();
    });
    connect(eeprom_->readButton, &QPushButton::clicked, this, [this] { ReadEepromFileChosen(); });
    connect(eeprom_->saveButton, &QPushButton::clicked, this, [this] { SaveEepromFileChosen(); });
}

void TForm1::RefreshInterpretedFields() {
    fieldsPage_->Refresh();
}

void TForm1::ConnectPicturePage() {
    connect(picture_->readButton, &QPushButton::clicked, this, [this] { ReadPictureChosen(); });
    connect(picture_->saveButton, &QPushButton::clicked, this, [this] { SavePictureChosen(); });
}

// A dump that cannot be read changes nothing.
void TForm1::ReadPictureChosen() {
    const auto file = AskAndReadFile(Msg(226));
    if (!file) return;
    picture_->saveButton->setEnabled(true);
    ShowCapturedPicture(file->second);
}

// The shapes are tried in order "16:9", "4:3"; with neither chosen the
// picture keeps its own size. "16:9" widens the window to hold it.
void TForm1::ShowCapturedPicture(const QByteArray& frame) {
    const DecodedPicture decoded =
        DecodePicture(frame, settings_.pictureWidth, settings_.pictureHeight);
    const PictureShape shape = settings_.pictureShape == 1   ? PictureShape::Wide
                               : settings_.pictureShape == 0 ? PictureShape::Standard
                                                             : PictureShape::Original;
    shownPicture_ = ShapePicture(decoded, shape);
    if (shape == PictureShape::Wide) resize(1043, height());
    QLabel* box = picture_->Picture();
    box->resize(shownPicture_.size());
    box->setPixmap(QPixmap::fromImage(shownPicture_));
    picture_->LayOut();
}

// The format follows the file type chosen, not the name's extension.
void TForm1::SavePictureChosen() {
    folders_.SetDefaultExtension(QStringLiteral("jpg"));
    const auto choice = dialogs_->AskSave(Msg(350), 2);
    if (!choice) return;
    const int quality = static_cast<int>(settings_.sliders[kCalidadJPEG]);
    const auto error = choice->filterIndex == 2 ? SaveJpeg(shownPicture_, choice->path, quality)
                                                : SaveBmp(shownPicture_, choice->path);
    if (error) boxes_->Show(BoxKind::Error, *error);
}

std::optional<std::pair<FileChoice, QByteArray>> TForm1::AskAndReadFile(const QString& filter) {
    const auto choice = dialogs_->AskOpen(filter, 1);
    if (!choice) return std::nullopt;
    FileRead file = ReadWholeFile(choice->path);
    if (!file.ok()) {
        boxes_->Show(BoxKind::Error, file.error);
        return std::nullopt;
    }
    return std::pair{*choice, std::move(file.bytes)};
}

// A refused file changes nothing; the fields are read again all the same.
void TForm1::ReadEepromFileChosen() {
    const auto file = AskAndReadFile(Msg(7));
    if (!file) return;
    const auto format = static_cast<EepromFormat>(std::clamp(file->first.filterIndex, 1, 3));
    if (const auto refused = ReadEepromFile(image_, file->second, format)) {
        boxes_->Show(BoxKind::Error, *refused);
    }
    RefreshInterpretedFields();
}

void TForm1::SaveEepromFileChosen() {
    const auto choice = dialogs_->AskSave(Msg(7), eepromSaveType_);
    if (!choice) return;
    eepromSaveType_ = std::clamp(choice->filterIndex, 1, 3);
    const QByteArray bytes = WriteEepromFile(image_, static_cast<EepromFormat>(eepromSaveType_));
    if (const auto error = WriteWholeFile(choice->path, bytes))
        boxes_->Show(BoxKind::Error, *error);
}

void TForm1::ConnectTerminalPage() {
    QLineEdit* input = terminal_->Input();
    connect(input, &QLineEdit::returnPressed, this, [this, input] {
        if (input->text().isEmpty()) return;
        serial_->terminal.addChecksum = settings_.terminalChecksum;
        serial_->terminal.Send(input->text());
        input->clear();
    });
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
