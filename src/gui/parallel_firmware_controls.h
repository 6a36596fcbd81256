#pragma once

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QRadioButton>
#include <QWidget>

#include "shell/settings.h"

namespace velarix::gui {

// The controls of "Firmware (Paralelo+Serie)" in the page's right-hand
// column: the address box, the command, "Envío con fase 1 y 2", "Mostrar
// Progreso", the source, "Enviar" and "Comprobar LPT". Each choice goes to
// the settings at once; choosing an address item also sets the command and
// "Envío con fase 1 y 2".
class ParallelFirmwareControls : public QObject {
    Q_OBJECT
public:
    ParallelFirmwareControls(QWidget* column, Settings& settings);
    // Shows the settings' choices, running no change handler.
    void Refresh();
    // The address as the box shows it now.
    QString AddressText() const { return address->currentText(); }

    QComboBox* address;
    QRadioButton* commands[3];  // DL, PL, FL
    QCheckBox* phase12;
    QCheckBox* progress;
    QRadioButton* sources[2];  // "Tabla canales FLASH", "Archivo"
    QPushButton* sendButton;
    QPushButton* checkButton;

private:
    void AddressChosen(int item);
    void AddressTyped(const QString& text);
    static void CheckOne(QButtonGroup* group, int id);

    Settings& settings_;
    QButtonGroup* commandGroup_;
    QButtonGroup* sourceGroup_;
};

}  // namespace velarix::gui
