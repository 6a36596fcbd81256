#pragma once

#include <QLabel>
#include <QSlider>

#include "shell/settings.h"

namespace velarix::gui {

// A slider of the configuration page with its caption, its value label and
// its unit label. Moving it writes its position into the held value.
class SliderRow : public QObject {
    Q_OBJECT
public:
    // `caption` and `unit` are object names (`unit` may be null); `x` and `y`
    // place the row on `page`.
    SliderRow(QWidget* page, Settings& settings, Slider which, const char* caption,
              const char* unit, int x, int y);

    // Puts the slider at the held value; as a slider set from code does, it
    // runs its change handler, so a held value outside the range takes the
    // nearest end.
    void Refresh();
    QSlider* Control() const { return slider_; }

private:
    Settings& settings_;
    Slider which_;
    QSlider* slider_;
    QLabel* value_;
};

}  // namespace velarix::gui
