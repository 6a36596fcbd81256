#include "config_tuning.h"

#include "shell/config_rules.h"
#include "shell/settings_file.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kRow = 32;

QRect Caption(int row) {
    return {20, 14 + row * kRow, 170, 24};
}
QRect Field(int row, int width = 120) {
    return {200, 14 + row * kRow, width, 24};
}

}  // namespace

TuningSubPage::TuningSubPage(QWidget* page, Settings& settings)
    : QObject(page), settings_(settings) {
    const char* captions[] = {"Label66",  "Label67",  "Label77",  "Label76",  "Label12", "Label128",
                              "Label193", "Label194", "Label138", "Label130", "Label129"};
    for (int row = 0; row < 11; ++row) MakeLabel(page, captions[row], Caption(row));
    tcs_ = MakeCombo(page, "ComboBox13", Field(0));
    tpt_ = MakeCombo(page, "ComboBox14", Field(1));
    tcs_->addItems(TablePositionEntries());
    tpt_->addItems(TablePositionEntries());
    lnbLow_ = MakeEdit(page, "Edit2", Field(2));
    lnbHigh_ = MakeEdit(page, "Edit3", Field(3));
    lnbLow_->setMaxLength(5);
    lnbHigh_->setMaxLength(5);
    const char* names[] = {"Edit4", "Edit5", "Edit31", "Edit32"};
    for (int i = 0; i < 4; ++i) satellites_[i] = MakeEdit(page, names[i], Field(4 + i, 200));
    symbolRates_ = MakeCombo(page, "ComboBox15", Field(8, 200));
    channels_ = MakeCombo(page, "ComboBox16", Field(9));
    transponders_ = MakeCombo(page, "ComboBox17", Field(10));
    channels_->addItems(ChannelCountEntries());
    transponders_->addItems(TransponderCountEntries());

    connect(tcs_, &QComboBox::currentIndexChanged, this,
            [this] { KeepPositionsApart(tcs_, tpt_, settings_.tcs, settings_.tpt); });
    connect(tpt_, &QComboBox::currentIndexChanged, this,
            [this] { KeepPositionsApart(tpt_, tcs_, settings_.tpt, settings_.tcs); });
    auto digits = [this](QLineEdit* field, QString Settings::*held, const char* empty) {
        connect(field, &QLineEdit::textChanged, this,
                [this, field, held, empty](const QString& text) {
                    const QString filtered = DigitFilter(text, QString::fromLatin1(empty));
                    if (filtered != text) field->setText(filtered);
                    settings_.*held = field->text();
                });
    };
    digits(lnbLow_, &Settings::lnbLow, "9750");
    digits(lnbHigh_, &Settings::lnbHigh, "10600");
    // The rule runs on the typed text and may set other text at once, before
    // the typed text's own change arrives here: what is kept is what the
    // field shows now, never the text the signal carried.
    for (int i = 0; i < 4; ++i) {
        connect(satellites_[i], &QLineEdit::textChanged, this,
                [this, i] { settings_.satellites[i] = satellites_[i]->text(); });
    }
    for (int i = 0; i < 2; ++i) {
        connect(satellites_[i], &QLineEdit::textEdited, this, [this] { ApplyNameRule(); });
        OnFocusOut(satellites_[i], [this] { ApplyNameRule(); });
    }
    connect(symbolRates_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.symbolRateList = i;
        LoadSymbolRateFile(settings_);
    });
    connect(channels_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.channelCount = i;
        ApplyChannelCount(settings_);
        if (channelCountChosen) channelCountChosen();
    });
    connect(transponders_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.transponderCount = i;
        ApplyTransponderCount(settings_);
        if (transponderCountChosen) transponderCountChosen();
    });
}

// The list that moved aside keeps its handler from running.
void TuningSubPage::KeepPositionsApart(QComboBox* changed, QComboBox* other, int& held,
                                       int& otherHeld) {
    held = changed->currentIndex();
    otherHeld = other->currentIndex();
    const int apart = KeepApart(held, otherHeld);
    if (apart == held) return;
    held = apart;
    Select(changed, apart);
}

void TuningSubPage::ApplyNameRule() {
    const auto [a, b] = SatelliteNameRule(satellites_[0]->text(), satellites_[1]->text());
    if (satellites_[0]->text() != a) satellites_[0]->setText(a);
    if (satellites_[1]->text() != b) satellites_[1]->setText(b);
    settings_.satellites[0] = a;
    settings_.satellites[1] = b;
}

std::array<QString, 4> TuningSubPage::SatelliteFields() const {
    return {satellites_[0]->text(), satellites_[1]->text(), satellites_[2]->text(),
            satellites_[3]->text()};
}

void TuningSubPage::ShowPositions() {
    Select(tcs_, settings_.tcs);
    Select(tpt_, settings_.tpt);
}

void TuningSubPage::Refresh() {
    ShowPositions();
    const QSignalBlocker low(lnbLow_), high(lnbHigh_);
    lnbLow_->setText(settings_.lnbLow);
    lnbHigh_->setText(settings_.lnbHigh);
    for (int i = 0; i < 4; ++i) satellites_[i]->setText(settings_.satellites[i]);
    SetEntries(symbolRates_, settings_.symbolRateLists);
    Select(symbolRates_, settings_.symbolRateList);
    Select(channels_, settings_.channelCount);
    Select(transponders_, settings_.transponderCount);
}

}  // namespace velarix::gui
