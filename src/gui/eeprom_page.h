#pragma once

#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>

namespace velarix {
class EepromImage;
class FileDialogs;
class HexEditing;
}  // namespace velarix

namespace velarix::gui {

class BoxPresenter;
class HexGrid;
class LogMemo;
class StatusPanel;

// The "Eeprom" page: the transfer and file buttons, the " Longitud " choice,
// the "Estado" panel and progress bar, and the sub-pages "Editor Hexadecimal"
// (hex grid over the EEPROM log) and "Datos Interpretados".
class EepromPage : public QWidget {
    Q_OBJECT
public:
    EepromPage(EepromImage& image, HexEditing& editing, FileDialogs& dialogs, BoxPresenter& boxes,
               QWidget* parent = nullptr);

    QTabWidget* SubPages() const { return subPages_; }
    QWidget* HexSubPage() const { return hexPage_; }
    QWidget* FieldsSubPage() const { return fieldsPage_; }
    HexGrid* Grid() const { return grid_; }
    LogMemo* Log() const { return log_; }
    StatusPanel* Status() const { return status_; }
    QProgressBar* Progress() const { return progress_; }

    QPushButton* receiveButton;  // "Recibir"
    QPushButton* sendButton;     // "Enviar"
    QPushButton* verifyButton;   // "Verificar"
    QPushButton* eraseButton;    // "Borrar"
    QPushButton* readButton;     // "Leer archivo..."
    QPushButton* saveButton;     // "Guardar como..."
    QRadioButton* wholeChoice;   // "Toda la Eeprom"
    QRadioButton* firstChoice;   // "0x000 -> 0x0AF"
    QRadioButton* rowChoice;     // "Fila Seleccionada"

private:
    void LayOut(QSize page);

    QTabWidget* subPages_;
    QWidget* hexPage_;
    QWidget* fieldsPage_;
    HexGrid* grid_;
    LogMemo* log_;
    StatusPanel* status_;
    QProgressBar* progress_;
    QWidget* rightColumn_;
};

}  // namespace velarix::gui
