#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTabWidget>
#include <QWidget>
#include <functional>

#include "shell/settings.h"

namespace velarix::gui {

class JtagSubPage;
class ParallelSubPage;
class PictureSubPage;
class SerialSubPage;
class TuningSubPage;

// The "Configuración" page: its seven sub-pages and "Valores por Defecto".
// Its controls show the settings model and write every change into it at
// once; what a change sets going beyond the model, the window does through
// the sub-pages' hooks.
class ConfigurationPage : public QWidget {
    Q_OBJECT
public:
    ConfigurationPage(Settings& settings, QWidget* parent = nullptr);

    QTabWidget* SubPages() const { return subPages_; }
    QWidget* SubPage(const char* name) const;
    QPushButton* defaultsButton;  // "Valores por Defecto"

    // Shows the model in every control; lists run no change handler.
    void Refresh();
    // After a language change: the translated list entries, choices kept.
    void Retranslate();

    SerialSubPage* Serial() const { return serial_; }
    ParallelSubPage* Parallel() const { return parallel_; }
    TuningSubPage* Tuning() const { return tuning_; }
    JtagSubPage* Jtag() const { return jtag_; }

    std::function<void()> languageChosen;
    // After "Valores por Defecto": the serial settings and the I/O range apply.
    std::function<void()> defaultsApplied;
    // The page was left (hidden).
    std::function<void()> left;

protected:
    void hideEvent(QHideEvent* event) override;

private:
    void ApplyDefaults();

    Settings& settings_;
    QTabWidget* subPages_;
    SerialSubPage* serial_;
    ParallelSubPage* parallel_;
    TuningSubPage* tuning_;
    JtagSubPage* jtag_;
    PictureSubPage* picture_;
    QCheckBox* checksum_;
    QComboBox* language_;
};

}  // namespace velarix::gui
