#pragma once

#include <QComboBox>
#include <QRadioButton>
#include <array>

#include "shell/settings.h"
#include "slider_row.h"

namespace velarix::gui {

// "Imagen": JPEG quality, the size of a captured picture, its display shape.
class PictureSubPage : public QObject {
    Q_OBJECT
public:
    PictureSubPage(QWidget* page, Settings& settings);
    void Refresh();

private:
    Settings& settings_;
    SliderRow* quality_;
    QComboBox* size_;
    std::array<QRadioButton*, 3> shapes_{};  // "4:3", "16:9", "No cambiar el formato"
};

}  // namespace velarix::gui
