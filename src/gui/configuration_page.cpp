#include "configuration_page.h"

#include "config_jtag.h"
#include "config_parallel.h"
#include "config_picture.h"
#include "config_serial.h"
#include "config_tuning.h"
#include "layout_rules.h"
#include "shell/config_rules.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr QSize kButtonSize{160, 22};

// "Puerto Serie", "Puerto Paralelo", "Sintonización", "Terminal", "Idioma",
// " JTag ", "Imagen".
constexpr const char* kSubPages[] = {"TabSheet13", "TabSheet14", "TabSheet15", "TabSheet16",
                                     "TabSheet17", "TabSheet18", "TabSheet19"};
constexpr int kShownFirst = 5;  // " JTag "

}  // namespace

ConfigurationPage::ConfigurationPage(Settings& settings, QWidget* parent)
    : QWidget(parent), settings_(settings), subPages_(new QTabWidget(this)) {
    setObjectName(QStringLiteral("TabSheet5"));
    subPages_->setObjectName(QStringLiteral("PageControl3"));
    QWidget* pages[7];
    for (int i = 0; i < 7; ++i) pages[i] = AddPage(subPages_, kSubPages[i]);
    serial_ = new SerialSubPage(pages[0], settings_);
    parallel_ = new ParallelSubPage(pages[1], settings_);
    tuning_ = new TuningSubPage(pages[2], settings_);
    checksum_ = MakeCheck(pages[3], "CheckBox2", {20, 20, 300, 22});
    MakeLabel(pages[4], "Label30", {20, 20, 120, 24});
    language_ = MakeCombo(pages[4], "ComboBox10", {150, 20, 200, 24});
    jtag_ = new JtagSubPage(pages[5], settings_);
    picture_ = new PictureSubPage(pages[6], settings_);
    subPages_->setCurrentIndex(kShownFirst);

    connect(checksum_, &QCheckBox::toggled, this,
            [this](bool on) { settings_.terminalChecksum = on; });
    connect(language_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.language = i;
        if (languageChosen) languageChosen();
    });
    defaultsButton = MakeButton(this, "Button5", {{0, 0}, kButtonSize});
    connect(defaultsButton, &QPushButton::clicked, this, [this] { ApplyDefaults(); });
    OnResize(this, [this](QSize page) {
        const auto layout = LayOutConfigurationPage(page, kButtonSize);
        subPages_->setGeometry(layout.subPages);
        defaultsButton->setGeometry(layout.defaultsButton);
    });
}

QWidget* ConfigurationPage::SubPage(const char* name) const {
    return findChild<QWidget*>(QString::fromLatin1(name));
}

void ConfigurationPage::Refresh() {
    serial_->Refresh();
    parallel_->Refresh();
    tuning_->Refresh();
    checksum_->setChecked(settings_.terminalChecksum);
    SetEntries(language_, settings_.languages);
    Select(language_, settings_.language);
    jtag_->Refresh();
    picture_->Refresh();
}

void ConfigurationPage::Retranslate() {
    serial_->Retranslate();
    jtag_->Retranslate();
}

// The lists show their new choice without running their handlers; only the
// serial settings, the I/O range and the sliders take effect at once.
void ConfigurationPage::ApplyDefaults() {
    ApplyFactoryDefaults(settings_);
    Refresh();
    if (defaultsApplied) defaultsApplied();
}

void ConfigurationPage::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (left) left();
}

}  // namespace velarix::gui
