#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QObject>
#include <QPushButton>
#include <QRadioButton>
#include <array>
#include <optional>

#include "jtag/flash_erase.h"
#include "jtag/memory_readout.h"

namespace velarix {
struct Settings;
}

namespace velarix::gui {

// The controls of the page "Firmware (JTag)", in the column beside its log:
// "Recibir", "Enviar", "Código de la CPU", the address and length boxes, the
// group " Usar " and "Borrar Chip" with its " Método de borrado ".
//
// The boxes hold upper-case hexadecimal text: while typing every other
// character goes at once; on leaving, each box applies its rule. Choosing a
// destination fills the boxes with its range. The boxes and the destination
// are the settings DirecJtag, LongJtag and the Usar-firm-jtag- keys.
class JtagFirmwareControls : public QObject {
    Q_OBJECT
public:
    JtagFirmwareControls(QWidget* column, Settings& settings);

    // Shows the settings as they stand (at start, after a load).
    void Refresh();
    // The destination chosen; none when a settings file left every option off.
    std::optional<ReadDestination> Destination() const;
    // The method " Método de borrado " shows chosen.
    EraseMethod ChosenEraseMethod() const;
    QString AddressText() const { return address->currentText(); }
    QString LengthText() const { return length->currentText(); }

    QPushButton* receiveButton;   // "Recibir"
    QPushButton* sendButton;      // "Enviar"
    QPushButton* identifyButton;  // "Código de la CPU"
    QComboBox* address;
    QComboBox* length;
    // " Usar ", in the order of ReadDestination.
    std::array<QRadioButton*, 5> destinations;
    QPushButton* eraseButton;                   // "Borrar Chip"
    std::array<QRadioButton*, 2> eraseMethods;  // "Por bloques", "Con un solo comando"

private:
    void BindBox(QComboBox* box, QString (*onLeaving)(const QString&), QString Settings::*held);
    void Choose(ReadDestination destination);

    Settings& settings_;
};

}  // namespace velarix::gui
