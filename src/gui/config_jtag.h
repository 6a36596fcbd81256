#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <functional>

#include "shell/settings.h"
#include "slider_row.h"

namespace velarix::gui {

// " JTag ": link timing, trap address, flash writing options, the decoder
// model and the two flash chips.
class JtagSubPage : public QObject {
    Q_OBJECT
public:
    JtagSubPage(QWidget* page, Settings& settings);
    void Refresh();
    // Rewrites the model list's first entry, keeping the choice.
    void Retranslate();

    // After a model was chosen and applied.
    std::function<void()> modelChosen;

private:
    void ShowChips();
    void BindHexField(QComboBox* field, int maxLength, std::function<void(const QString&)> store);

    Settings& settings_;
    SliderRow* tck_;
    SliderRow* waitStart_;
    QComboBox* trap_;
    QCheckBox* verify_;
    QCheckBox* force_;
    QCheckBox* addChecksum_;
    QComboBox* checksumPosition_;
    QComboBox* model_;
    std::array<QComboBox*, 2> starts_{};
    std::array<QComboBox*, 2> types_{};
};

}  // namespace velarix::gui
