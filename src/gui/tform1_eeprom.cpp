// The serial tasks of the window: the "Eeprom" page's transfers, files and
// fields, and the terminal.
#include <QLineEdit>

#include "box_presenter.h"
#include "eeprom/eeprom_files.h"
#include "eeprom_page.h"
#include "fields_page.h"
#include "shell/message_table.h"
#include "shell/whole_file.h"
#include "terminal_page.h"
#include "tform1.h"

namespace velarix::gui {

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

// A refused file changes nothing; the fields are read again all the same.
void TForm1::ReadEepromFileChosen() {
    // As much as the longest file of any type: a longer one is refused.
    const auto file = AskAndReadFile(Msg(7), EepromFileReadLimit(EepromFormat::CommandText));
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

}  // namespace velarix::gui
