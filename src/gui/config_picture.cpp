#include "config_picture.h"

#include "widgets.h"

namespace velarix::gui {

PictureSubPage::PictureSubPage(QWidget* page, Settings& settings)
    : QObject(page), settings_(settings) {
    quality_ = new SliderRow(page, settings_, kCalidadJPEG, "Label111", nullptr, 20, 14);
    MakeLabel(page, "Label113", {20, 54, 230, 24});
    size_ = MakeCombo(page, "ComboBox12", {260, 54, 120, 24});
    size_->addItems(PictureSizeEntries());
    MakeLabel(page, "Label114", {20, 94, 230, 24});
    shapes_[0] = MakeRadio(page, "RadioButton11", {260, 94, 200, 22});
    shapes_[1] = MakeRadio(page, "RadioButton10", {260, 118, 200, 22});
    shapes_[2] = MakeRadio(page, "RadioButton12", {260, 142, 260, 22});
    connect(size_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.pictureSize = i;
        ApplyPictureSize(settings_);
    });
    for (int i = 0; i < 3; ++i) {
        connect(shapes_[i], &QRadioButton::toggled, this, [this, i](bool on) {
            if (on) settings_.pictureShape = i;
        });
    }
}

void PictureSubPage::Refresh() {
    quality_->Refresh();
    Select(size_, settings_.pictureSize);
    for (int i = 0; i < 3; ++i) {
        const QSignalBlocker quiet(shapes_[i]);
        shapes_[i]->setAutoExclusive(false);
        shapes_[i]->setChecked(settings_.pictureShape == i);
        shapes_[i]->setAutoExclusive(true);
    }
}

}  // namespace velarix::gui
