#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <functional>

#include "shell/settings.h"

namespace velarix::gui {

// The "Sintonización" sub-page of the configuration: table positions, LNB
// frequencies, satellite names, the symbol-rate list and the table sizes.
class TuningSubPage : public QObject {
    Q_OBJECT
public:
    TuningSubPage(QWidget* page, Settings& settings);
    void Refresh();
    // Selects the two positions the settings hold (a table was loaded), without
    // running the lists' change handlers.
    void ShowPositions();
    // The satellite names as the four fields show them.
    std::array<QString, 4> SatelliteFields() const;

    std::function<void()> channelCountChosen;
    std::function<void()> transponderCountChosen;

private:
    void KeepPositionsApart(QComboBox* changed, QComboBox* other, int& held, int& otherHeld);
    void ApplyNameRule();

    Settings& settings_;
    QComboBox* tcs_;
    QComboBox* tpt_;
    QLineEdit* lnbLow_;
    QLineEdit* lnbHigh_;
    std::array<QLineEdit*, 4> satellites_{};
    QComboBox* symbolRates_;
    QComboBox* channels_;
    QComboBox* transponders_;
};

}  // namespace velarix::gui
