#pragma once

#include <QImage>
#include <QMainWindow>
#include <QTabWidget>
#include <functional>
#include <memory>
#include <variant>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex_editing.h"
#include "eeprom/interpreted_fields.h"
#include "jtag/flash_programming.h"
#include "jtag/trap_routine.h"
#include "lpt/port_backend.h"
#include "lpt/port_timing.h"
#include "serial/serial_settings.h"
#include "serial/serial_tasks.h"
#include "shell/clock.h"
#include "shell/file_dialogs.h"
#include "shell/settings.h"
#include "tuning/channel_tables.h"
#include "tuning/edit_history.h"
#include "widget_operation_frame.h"

class QKeyEvent;

namespace velarix {
class FirmwareUpload;
class PortTiming;
}  // namespace velarix

namespace velarix::gui {

class AboutPage;
class BoxPresenter;
class ConfigurationPage;
class EepromPage;
class FieldsPage;
class FirmwarePage;
class JtagFirmwareControls;
class ParallelFirmwareControls;
class PicturePage;
class TerminalPage;
class TuningPage;
class TForm2;
class TForm3;
class TForm5;
class TForm6;

// What the window shows its dialogs with. Left empty, the window makes its own
// modal dialogs; tests hand in doubles that answer at once.
struct WindowServices {
    FileDialogs* dialogs = nullptr;
    BoxPresenter* boxes = nullptr;
    Clock* clock = nullptr;    // the system clock when empty
    LinkPort* port = nullptr;  // a real serial port when empty
    // Pseudo-terminals to offer besides the machine's serial ports (the
    // simulated decoder's, or one given on the command line), and the port to
    // choose at start.
    QStringList extraPorts;
    QString selectPort;
    // The settings folder (--settings); when empty, the program's own rule.
    QString settingsFolder;
    // The parallel port (--lpt): empty for the settings' I/O range; "sim"
    // for the simulated decoder `simPort` makes.
    QString lptSpec;
    SimPortMaker simPort;
    // The trap routine when it is not the user's trap.bin.
    TrapRoutineReader trapRoutine;
    // A language for this run only (--language): the name of its file.
    QString language;
};

// The main window: one page per task, and the data those pages show.
class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    explicit TForm1(WindowServices services = {}, QWidget* parent = nullptr);
    ~TForm1() override;

    OperationFrame& Frame() { return *frame_; }
    EepromImage& Image() { return image_; }
    HexEditing& Editing() { return editing_; }
    DialogFolders& Folders() { return folders_; }
    SerialTasks& Serial() { return *serial_; }
    Settings& CurrentSettings() { return settings_; }
    // The channel and transponder tables with the loaded table image, for
    // every page that reads or sends a table.
    ChannelTables& Tables() { return tables_; }
    // Undo and redo of the edits of the tables.
    EditHistory& History() { return history_; }
    const QStringList& PortNames() const { return settings_.ports; }
    int SelectedPort() const { return settings_.serial.port; }

    FieldsPage* Fields() const { return fieldsPage_; }
    // Reads every interpreted field from the image again.
    void RefreshInterpretedFields();

    // Decodes a frame-memory image and shows it on the "Imagen" page in the
    // shape the settings choose; "Guardar como..." saves what is shown.
    void ShowCapturedPicture(const QByteArray& frame);
    const QImage& ShownPicture() const { return shownPicture_; }

    // What closing the window writes: the settings, as they stand now.
    std::optional<QString> SaveSettingsNow();
    FileDialogs& Dialogs() { return *dialogs_; }
    BoxPresenter& Boxes() { return *boxes_; }

    QTabWidget* Pages() const { return pages_; }
    EepromPage* Eeprom() const { return eeprom_; }
    FirmwarePage* ParallelFirmware() const { return parallel_; }
    ParallelFirmwareControls* ParallelFirmwareChoices() const { return firmwareControls_; }
    FirmwareUpload& Upload() { return *upload_; }
    // The FLASH channel table rebuilt into the image to send, or the message
    // to show: the window's tables unless a test hands in its own.
    std::function<std::variant<QByteArray, QString>()> flashTableImage;
    FirmwarePage* JtagFirmware() const { return jtag_; }
    TerminalPage* Terminal() const { return terminal_; }
    TuningPage* Tuning() const { return tuning_; }
    PicturePage* Picture() const { return picture_; }
    ConfigurationPage* Configuration() const { return configuration_; }
    AboutPage* About() const { return about_; }
    JtagFirmwareControls* JtagControls() const { return jtagControls_; }
    // The dialogs of the "Sintonización" page.
    TForm2* ChannelDialog() const { return channelDialog_.get(); }
    TForm3* TransponderDialog() const { return transponderDialog_.get(); }
    TForm5* SearchDialog() const { return searchDialog_.get(); }
    TForm6* SwapDialog() const { return swapDialog_.get(); }

    // Where "Recibir" of "Firmware (JTag)" hands a channel table read from
    // RAM or from flash: the window's tables load it.
    std::function<void(const QByteArray&)> jtagRamTableRead;
    std::function<void(const QByteArray&)> jtagFlashTableRead;
    // What "Enviar" of "Firmware (JTag)" sends for "Tabla canales RAM" and
    // "Tabla canales FLASH": the table image, or the message to show: the
    // window's tables unless a test hands in its own.
    TableImageSource jtagRamTableToSend;
    TableImageSource jtagFlashTableToSend;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildPages();
    void ConnectEepromPage();
    void ConnectTerminalPage();
    void LoadSettingsAtStart(const WindowServices& services);
    void ConnectConfigurationPage();
    void ApplyLanguage();
    void ApplyChannelCount();
    void ApplyTransponderCount();
    void RenameSatellites();
    void StartSerial(const WindowServices& services);
    void StartTransfer(EepromOperation operation);
    void ReadEepromFileChosen();
    void SaveEepromFileChosen();
    void ConnectPicturePage();
    void ConnectJtagPage(const WindowServices& services);
    // What a JTAG operation started now works with.
    JtagEnvironment JtagEnvironmentNow(bool withTrapRoutine);
    void ReceiveFromJtag();
    void SendToJtag();
    void EraseJtagChip();
    void IdentifyJtagCpu();
    void ConnectFirmwarePage(const WindowServices& services);
    void SendFirmwareChosen();
    // Asks for a file with the shared open dialog and reads it whole, or its
    // first `limit` bytes when a limit is given (a device or a pipe may not
    // end); a file that cannot be read is reported with the system's reason.
    std::optional<std::pair<FileChoice, QByteArray>> AskAndReadFile(const QString& filter,
                                                                    qint64 limit = -1);
    void ReadPictureChosen();
    void SavePictureChosen();
    void ConnectTuningPage();
    void ReadTableChosen();
    void MergeTableChosen();
    void SaveTablesChosen();
    void ShowLoadedTable(TableKind kind);
    void ShowNoTable();
    void RefreshTuningPanels();
    void ConnectTableEditing();
    void UpdateEditingControls();
    void EditTables(const std::function<void()>& edit);
    void MoveChosen();
    void DeleteChosen();
    void CopyChosen();
    void CutChosen();
    void PasteChosen();
    void EditChosen();
    void ShowChannelDialog(int row);
    void ShowTransponderDialog(int row);
    void SwapChosen();
    void DuplicatesChosen();
    void SearchFor(const QString& text);
    bool ChannelKeyTyped(QKeyEvent* event);
    bool TransponderKeyTyped(QKeyEvent* event);
    void UndoEdit(bool redo);
    void SetColumnWidths();
    int ChannelGridWidth() const;
    void FirstShown();
    QPoint StoredPlaceOnScreen() const;

    EepromImage image_;
    HexEditing editing_{image_};
    DialogFolders folders_;
    std::unique_ptr<FileDialogs> ownDialogs_;
    std::unique_ptr<BoxPresenter> ownBoxes_;
    FileDialogs* dialogs_;
    BoxPresenter* boxes_;
    std::unique_ptr<WidgetOperationFrame> frame_;
    std::unique_ptr<Clock> ownClock_;
    std::unique_ptr<LinkPort> ownPort_;
    std::unique_ptr<SerialTasks> serial_;
    std::unique_ptr<PortTiming> portTiming_;
    std::unique_ptr<FirmwareUpload> upload_;
    Settings settings_;
    InterpretedFields fields_{image_, settings_};
    ChannelTables tables_{settings_};
    EditHistory history_{tables_};
    FieldsPage* fieldsPage_ = nullptr;
    int eepromSaveType_ = 1;  // the file type last chosen in the save dialog
    QImage shownPicture_;
    // What the JTAG page's operations reach the cable with, and what lasts
    // from one of them to the next.
    struct JtagPort {
        QString portName;
        SimPortMaker sim;
        TrapRoutineReader trapRoutine;
        TrapState trap;
        std::unique_ptr<PortTiming> timing;
    };
    JtagPort jtagPort_;
    JtagFirmwareControls* jtagControls_ = nullptr;

    QTabWidget* pages_ = nullptr;
    EepromPage* eeprom_ = nullptr;
    FirmwarePage* parallel_ = nullptr;
    ParallelFirmwareControls* firmwareControls_ = nullptr;
    FirmwarePage* jtag_ = nullptr;
    TerminalPage* terminal_ = nullptr;
    TuningPage* tuning_ = nullptr;
    PicturePage* picture_ = nullptr;
    ConfigurationPage* configuration_ = nullptr;
    AboutPage* about_ = nullptr;
    // A port given for this run only (--port, --demo) and the stored port
    // position that closing writes back while it is in use.
    QString runPort_;
    std::optional<int> storedPort_;
    // The same for a language given for this run only.
    QString runLanguage_;
    std::optional<int> storedLanguage_;
    bool shown_ = false;
    mutable int channelGridChrome_ = 4;
    // The dialogs of the "Sintonización" page: windows of their own.
    std::unique_ptr<TForm2> channelDialog_;
    std::unique_ptr<TForm3> transponderDialog_;
    std::unique_ptr<TForm5> searchDialog_;
    std::unique_ptr<TForm6> swapDialog_;
};

}  // namespace velarix::gui
