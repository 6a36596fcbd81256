// The "Firmware (Paralelo+Serie)" page: upload over the service link and the
// parallel port, and the check of the decoder's parallel port.
#include "box_presenter.h"
#include "lpt/firmware_upload.h"
#include "lpt/port_timing.h"
#include "parallel_firmware_controls.h"
#include "shell/message_table.h"
#include "tform1.h"

namespace velarix::gui {

// The port is opened afresh for each transfer run, so that one that could
// not be opened, or went away, can be tried again with the next.
void TForm1::ConnectFirmwarePage(const WindowServices& services) {
    portTiming_ = MakePortTiming(serial_->link.Time());
    upload_ = std::make_unique<FirmwareUpload>(serial_->link, *frame_, *portTiming_, settings_);
    upload_->addressText = [this] { return firmwareControls_->AddressText(); };
    upload_->openPort = [this, portName = services.lptSpec, sim = services.simPort] {
        return OpenParallelPort(portName, ParallelBaseAt(settings_.parallel), sim);
    };
    connect(firmwareControls_->sendButton, &QPushButton::clicked, this,
            [this] { SendFirmwareChosen(); });
    connect(firmwareControls_->checkButton, &QPushButton::clicked, this,
            [this] { upload_->StartPortCheck(); });
}

// The image comes from the source chosen: the FLASH channel table, or a
// file (a file that cannot be read is told with the system's reason, and
// nothing is sent).
void TForm1::SendFirmwareChosen() {
    if (settings_.firmwareSource == 1) {
        const auto file = AskAndReadFile(Msg(227));
        if (!file) return;
        upload_->StartUpload(file->second);
        return;
    }
    // With neither source chosen nothing is sent: the box says why the table
    // could not be.
    if (settings_.firmwareSource != 0 || !flashTableImage) {
        boxes_->Show(BoxKind::Error, tables_.RamMode() ? Msg(194) : Msg(195));
        return;
    }
    auto image = flashTableImage();
    if (const auto* message = std::get_if<QString>(&image)) {
        boxes_->Show(BoxKind::Error, *message);
        return;
    }
    upload_->StartUpload(std::get<QByteArray>(std::move(image)));
}

}  // namespace velarix::gui
