// The window's settings: read as it is made, shown by the configuration page,
// written as it closes; the language they name.
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>

#include "apply_texts.h"
#include "box_presenter.h"
#include "config_jtag.h"
#include "config_serial.h"
#include "config_tuning.h"
#include "configuration_page.h"
#include "shell/language.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "shell/settings_folder.h"
#include "tform1.h"

namespace velarix::gui {

// The settings folder and the settings file as the window starts.
void TForm1::LoadSettingsAtStart(const WindowServices& services) {
    const QString folder =
        ResolveSettingsFolder(services.settingsFolder, QCoreApplication::applicationDirPath());
    settings_ = LoadSettings(folder, SerialPortNames(services.extraPorts));
    if (!services.selectPort.isEmpty()) {
        runPort_ = services.selectPort;
        storedPort_ = settings_.serial.port;
        settings_.serial.port = static_cast<int>(settings_.ports.indexOf(runPort_));
    }
    // A language the list lacks joins it for this run; the list's keys are
    // never written, so it is gone at the next start.
    if (!services.language.isEmpty()) {
        runLanguage_ = services.language;
        storedLanguage_ = settings_.language;
        if (!settings_.languages.contains(runLanguage_)) settings_.languages << runLanguage_;
        settings_.language = static_cast<int>(settings_.languages.indexOf(runLanguage_));
    }
}

// Every text from the language file chosen; the lists whose entries it
// rewrites keep their choices, and the port and model follow them again.
void TForm1::ApplyLanguage() {
    LoadLanguage(Messages(), settings_);
    ApplyTexts(this, Messages());
    configuration_->Retranslate();
}

void TForm1::ConnectConfigurationPage() {
    SerialSubPage* serialPage = configuration_->Serial();
    serialPage->portChosen = [this] {
        const QString name = settings_.ports.value(settings_.serial.port);
        // A port of the machine chosen by hand is kept; the run's own port
        // would be at another place in the next run's list.
        if (name != runPort_) storedPort_.reset();
        if (name.isEmpty()) return;
        if (const auto error = serial_->OpenPort(name, settings_.serial))
            boxes_->Show(BoxKind::Error, *error);
    };
    serialPage->linesChanged = [this] { serial_->link.Port().Apply(settings_.serial); };
    configuration_->languageChosen = [this] {
        if (settings_.languages.value(settings_.language) != runLanguage_) storedLanguage_.reset();
        ApplyLanguage();
        RefreshInterpretedFields();
        serial_->link.Port().Apply(settings_.serial);
        configuration_->Jtag()->Refresh();
    };
    // "Valores por Defecto" applies the port's name and settings; a port that
    // is open moves to the new name, a closed one stays closed.
    configuration_->defaultsApplied = [this] {
        if (!runPort_.isEmpty()) {
            // The defaults are stored; this run stays on the port it was given.
            storedPort_ = settings_.serial.port;
            settings_.serial.port = static_cast<int>(settings_.ports.indexOf(runPort_));
            configuration_->Serial()->Refresh();
        }
        LinkPort& port = serial_->link.Port();
        port.Apply(settings_.serial);
        const QString name = settings_.ports.value(settings_.serial.port);
        QString error;
        if (!name.isEmpty() && name != port.Name() && !port.SetName(name, &error)) {
            boxes_->Show(BoxKind::Error, error);
        }
    };
    configuration_->Jtag()->modelChosen = [this] { RefreshInterpretedFields(); };
    configuration_->Tuning()->channelCountChosen = [this] { ApplyChannelCount(); };
    configuration_->Tuning()->transponderCountChosen = [this] { ApplyTransponderCount(); };
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
    Settings stored = settings_;
    if (storedPort_) stored.serial.port = *storedPort_;
    if (storedLanguage_) stored.language = *storedLanguage_;
    return SaveSettings(stored);
}

void TForm1::closeEvent(QCloseEvent* event) {
    // The field being typed into is left, so its leaving rule (the trap
    // address's alignment, a number's limit) holds for what is saved.
    if (QWidget* focused = QApplication::focusWidget(); focused && isAncestorOf(focused))
        focused->clearFocus();
    if (const auto error = SaveSettingsNow()) boxes_->Show(BoxKind::Error, *error);
    QMainWindow::closeEvent(event);
}

}  // namespace velarix::gui
