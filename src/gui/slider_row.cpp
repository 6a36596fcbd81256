#include "slider_row.h"

#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kCaptionWidth = 190;
constexpr int kSliderWidth = 300;
constexpr int kHeight = 24;

// The value labels have no name of their own in the designed window: they
// take Label174 and on, by slider.
QByteArray ValueLabelName(Slider which) {
    return "Label" + QByteArray::number(174 + which);
}

}  // namespace

SliderRow::SliderRow(QWidget* page, Settings& settings, Slider which, const char* caption,
                     const char* unit, int x, int y)
    : QObject(page), settings_(settings), which_(which) {
    const SliderSpec& def = SliderOf(which);
    MakeLabel(page, caption, {x, y, kCaptionWidth, kHeight});
    slider_ = new QSlider(Qt::Horizontal, page);
    slider_->setObjectName(QString::fromLatin1(def.control));
    slider_->setGeometry(x + kCaptionWidth, y, kSliderWidth, kHeight);
    slider_->setRange(def.minimum, def.maximum);
    value_ = MakeLabel(page, ValueLabelName(which).constData(),
                       {x + kCaptionWidth + kSliderWidth + 8, y, 48, kHeight});
    value_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    if (unit) MakeLabel(page, unit, {x + kCaptionWidth + kSliderWidth + 62, y, 60, kHeight});
    connect(slider_, &QSlider::valueChanged, this, [this](int position) {
        settings_.sliders[which_] = position;
        value_->setText(QString::number(position));
    });
}

void SliderRow::Refresh() {
    const SliderSpec& def = SliderOf(which_);
    const auto held = std::clamp<std::int64_t>(settings_.sliders[which_], def.minimum, def.maximum);
    slider_->setValue(static_cast<int>(held));
    settings_.sliders[which_] = slider_->value();
    value_->setText(QString::number(slider_->value()));
}

}  // namespace velarix::gui
