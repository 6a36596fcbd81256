#pragma once

#include <QComboBox>
#include <functional>

#include "shell/settings.h"

namespace velarix::gui {

// "Puerto Serie": the port and its five line settings. Every change goes to
// the serial port at once.
class SerialSubPage : public QObject {
    Q_OBJECT
public:
    SerialSubPage(QWidget* page, Settings& settings);
    void Refresh();
    // Rewrites the translated entries (parity, flow control) keeping the choices.
    void Retranslate();

    std::function<void()> portChosen;
    std::function<void()> linesChanged;

private:
    Settings& settings_;
    QComboBox* port_;
    QComboBox* baud_;
    QComboBox* dataBits_;
    QComboBox* parity_;
    QComboBox* stopBits_;
    QComboBox* flow_;
};

}  // namespace velarix::gui
