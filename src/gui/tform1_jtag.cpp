// The page "Firmware (JTag)": its controls, "Recibir", "Enviar", "Código de
// la CPU" and "Borrar Chip".
#include <QApplication>
#include <QCoreApplication>

#include "apply_texts.h"
#include "eeprom_page.h"
#include "firmware_page.h"
#include "jtag/cpu_identification.h"
#include "jtag/flash_erase.h"
#include "jtag/flash_programming.h"
#include "jtag/jtag_operation.h"
#include "jtag/memory_readout.h"
#include "jtag_firmware_controls.h"
#include "picture_page.h"
#include "shell/message_table.h"
#include "tform1.h"

namespace velarix::gui {

// The port is opened for each operation. Its time runs on the window's
// clock: the system's, or the tests' virtual one, which then moves with
// every port access.
void TForm1::ConnectJtagPage(const WindowServices& services) {
    jtagControls_ = new JtagFirmwareControls(jtag_->Controls(), settings_);
    // The language was applied before these controls stood; later changes reach them.
    ApplyTexts(jtag_, Messages());
    jtagControls_->Refresh();
    Clock& clock = services.clock ? *services.clock : *ownClock_;
    if (auto* virtualClock = dynamic_cast<VirtualClock*>(&clock)) {
        jtagPort_.timing = std::make_unique<VirtualPortTiming>(*virtualClock);
    } else {
        jtagPort_.timing = std::make_unique<SystemPortTiming>(clock);
    }
    jtagPort_.portName = services.lptSpec;
    jtagPort_.sim = services.simPort;
    jtagPort_.trapRoutine = services.trapRoutine;
    connect(jtagControls_->receiveButton, &QPushButton::clicked, this,
            [this] { ReceiveFromJtag(); });
    connect(jtagControls_->identifyButton, &QPushButton::clicked, this,
            [this] { IdentifyJtagCpu(); });
    connect(jtagControls_->sendButton, &QPushButton::clicked, this, [this] { SendToJtag(); });
    connect(jtagControls_->eraseButton, &QPushButton::clicked, this, [this] { EraseJtagChip(); });
}

namespace {

// The trap routine of a normal start: trap.bin beside the program, else in
// the settings folder.
TrapRoutineReader UserTrapRoutine(const QString& settingsFolder) {
    const QStringList places =
        TrapRoutinePlaces(QCoreApplication::applicationDirPath(), settingsFolder);
    return [places] { return ReadFirstTrapRoutine(places); };
}

}  // namespace

JtagEnvironment TForm1::JtagEnvironmentNow(bool withTrapRoutine) {
    TrapRoutineReader trapRoutine;
    if (withTrapRoutine) {
        trapRoutine =
            jtagPort_.trapRoutine ? jtagPort_.trapRoutine : UserTrapRoutine(settings_.folder);
    }
    return JtagEnvironment{*frame_,
                           settings_,
                           *jtagPort_.timing,
                           [this] {
                               return OpenParallelPort(jtagPort_.portName,
                                                       ParallelBaseAt(settings_.parallel),
                                                       jtagPort_.sim);
                           },
                           jtagPort_.trap,
                           std::move(trapRoutine)};
}

void TForm1::ReceiveFromJtag() {
    const auto destination = jtagControls_->Destination();
    if (!destination) return;
    JtagEnvironment env = JtagEnvironmentNow(true);
    ReadOutDelivery delivery;
    delivery.chooseFile = [this]() -> std::optional<QString> {
        const auto choice = dialogs_->AskSave(Msg(208), 1);
        if (!choice) return std::nullopt;
        return choice->path;
    };
    delivery.ramTable = [this](const QByteArray& bytes) {
        if (jtagRamTableRead) jtagRamTableRead(bytes);
    };
    delivery.flashTable = [this](const QByteArray& bytes) {
        if (jtagFlashTableRead) jtagFlashTableRead(bytes);
    };
    delivery.picture = [this](const QByteArray& bytes) {
        picture_->saveButton->setEnabled(true);
        ShowCapturedPicture(bytes);
        pages_->setCurrentWidget(picture_);
    };
    delivery.eeprom = &image_;
    delivery.eepromChanged = [this] {
        RefreshInterpretedFields();
        pages_->setCurrentWidget(eeprom_);
    };
    ReceiveFromTarget(env, *destination, jtagControls_->AddressText(), jtagControls_->LengthText(),
                      delivery);
}

// The tables come through the window's two seams; the EEPROM is the hex
// editor's image.
void TForm1::SendToJtag() {
    const auto source = jtagControls_->Destination();
    if (!source) return;
    JtagEnvironment env = JtagEnvironmentNow(true);
    SendSources sources;
    sources.chooseFile = [this]() -> std::optional<QString> {
        const auto choice = dialogs_->AskOpen(Msg(227), 1);
        if (!choice) return std::nullopt;
        return choice->path;
    };
    sources.flashTable = jtagFlashTableToSend;
    sources.ramTable = jtagRamTableToSend;
    sources.eeprom = &image_;
    SendToTarget(env, *source, jtagControls_->AddressText(), jtagControls_->LengthText(), sources);
}

// The warning box comes with the system's beep.
void TForm1::EraseJtagChip() {
    QApplication::beep();
    JtagEnvironment env = JtagEnvironmentNow(true);
    EraseFromPage(env, jtagControls_->AddressText(), jtagControls_->ChosenEraseMethod());
}

void TForm1::IdentifyJtagCpu() {
    JtagEnvironment env = JtagEnvironmentNow(false);
    IdentifyCpu(env);
}

}  // namespace velarix::gui
