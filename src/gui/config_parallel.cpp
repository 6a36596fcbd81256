#include "config_parallel.h"

#include "widgets.h"

namespace velarix::gui {

namespace {

struct DelayRow {
    Slider slider;
    const char* caption;
    const char* unit;  // "ciclos" or "ms"
};

// In the order the page shows them.
constexpr DelayRow kRows[] = {
    {kRetardoStrobe, "Label19", "Label80"},       {kRetardoNegociacion1, "Label34", "Label81"},
    {kRetardoNegociacion2, "Label37", "Label79"}, {kRetardoNegociacion3, "Label39", "Label82"},
    {kRetardoNegociacion4, "Label41", "Label84"}, {kRetardoApertura1, "Label44", "Label83"},
    {kRetardoApertura2, "Label43", "Label85"},    {kRetardoClausura1, "Label47", "Label86"},
    {kRetardoClausura2, "Label7", "Label87"},     {kRetardoBusy, "Label50", "Label88"},
    {kRetardoComienzo, "Label53", "Label89"},     {kRetardoVerificacion, "Label52", "Label90"},
    {kRetardoEntreBytes, "Label56", "Label91"},
};

}  // namespace

ParallelSubPage::ParallelSubPage(QWidget* page, Settings& settings)
    : QObject(page), settings_(settings) {
    MakeLabel(page, "Label31", {20, 14, 190, 24});
    range_ = MakeCombo(page, "ComboBox11", {210, 14, 200, 24});
    range_->addItems(ParallelRangeEntries());
    connect(range_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.parallel = i;
        if (rangeChosen) rangeChosen();
    });
    int y = 52;
    for (const DelayRow& row : kRows) {
        sliders_.push_back(
            new SliderRow(page, settings_, row.slider, row.caption, row.unit, 20, y));
        y += 33;
    }
}

void ParallelSubPage::Refresh() {
    Select(range_, settings_.parallel);
    for (SliderRow* row : sliders_) row->Refresh();
}

}  // namespace velarix::gui
