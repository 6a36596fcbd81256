#pragma once

#include <QComboBox>
#include <functional>
#include <vector>

#include "shell/settings.h"
#include "slider_row.h"

namespace velarix::gui {

// "Puerto Paralelo": the I/O range and the thirteen handshake delays.
class ParallelSubPage : public QObject {
    Q_OBJECT
public:
    ParallelSubPage(QWidget* page, Settings& settings);
    void Refresh();

    std::function<void()> rangeChosen;

private:
    Settings& settings_;
    QComboBox* range_;
    std::vector<SliderRow*> sliders_;
};

}  // namespace velarix::gui
