#include "config_jtag.h"

#include <QGroupBox>

#include "shell/config_rules.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "widgets.h"

namespace velarix::gui {

JtagSubPage::JtagSubPage(QWidget* page, Settings& settings) : QObject(page), settings_(settings) {
    tck_ = new SliderRow(page, settings_, kDuracionTCK, "Label108", "Label110", 20, 14);
    waitStart_ = new SliderRow(page, settings_, kWStartBits, "Label137", nullptr, 20, 46);
    MakeLabel(page, "Label131", {20, 82, 190, 24});
    trap_ = MakeCombo(page, "ComboBox18", {210, 82, 120, 24}, true);
    trap_->addItems(TrapAddressEntries());
    verify_ = MakeCheck(page, "CheckBox4", {20, 116, 330, 22});
    force_ = MakeCheck(page, "CheckBox5", {20, 140, 330, 22});
    addChecksum_ = MakeCheck(page, "CheckBox6", {20, 164, 330, 22});
    MakeLabel(page, "Label192", {360, 164, 170, 24});
    checksumPosition_ = MakeCombo(page, "ComboBox51", {530, 164, 100, 24}, true);
    checksumPosition_->addItems(ChecksumPositionEntries());
    MakeLabel(page, "Label134", {20, 200, 240, 24});
    model_ = MakeCombo(page, "ComboBox21", {260, 200, 260, 24});

    const char* groups[] = {"GroupBox17", "GroupBox18"};
    const char* startCaptions[] = {"Label133", "Label135"};
    const char* typeCaptions[] = {"Label132", "Label136"};
    const char* startNames[] = {"ComboBox20", "ComboBox22"};
    const char* typeNames[] = {"ComboBox19", "ComboBox23"};
    for (int chip = 0; chip < 2; ++chip) {
        auto* group = MakeGroup(page, groups[chip], {20, 238 + chip * 100, 520, 90});
        MakeLabel(group, startCaptions[chip], {12, 22, 230, 24});
        starts_[chip] = MakeCombo(group, startNames[chip], {250, 22, 120, 24}, true);
        starts_[chip]->addItems(FlashStartEntries());
        MakeLabel(group, typeCaptions[chip], {12, 54, 230, 24});
        types_[chip] = MakeCombo(group, typeNames[chip], {250, 54, 200, 24});
        BindHexField(starts_[chip], 8,
                     [this, chip](const QString& text) { settings_.chips[chip].start = text; });
        connect(types_[chip], &QComboBox::currentIndexChanged, this, [this, chip](int i) {
            settings_.chips[chip].type = i;
            LoadFlashTypeFile(settings_, chip);
        });
    }

    BindHexField(trap_, 8, [this](const QString& text) { settings_.trapAddress = text; });
    // The focus of an editable list is the list's own: its line edit is only
    // told of the focus by the list, past any event filter of its own.
    OnFocusOut(trap_, [this] { trap_->setEditText(AlignTrapAddress(trap_->currentText())); });
    BindHexField(checksumPosition_, 6,
                 [this](const QString& text) { settings_.checksumPosition = text; });
    connect(verify_, &QCheckBox::toggled, this, [this](bool on) { settings_.verifyFlash = on; });
    connect(force_, &QCheckBox::toggled, this, [this](bool on) { settings_.forceFlash = on; });
    connect(addChecksum_, &QCheckBox::toggled, this, [this](bool on) {
        settings_.addFirmwareChecksum = on;
        checksumPosition_->setEnabled(on);
    });
    connect(model_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.model = i;
        ApplyModel(settings_);
        ShowChips();
        if (modelChosen) modelChosen();
    });
}

// An emptied field chooses its list's first entry; otherwise only upper-case
// hexadecimal digits stay.
void JtagSubPage::BindHexField(QComboBox* field, int maxLength,
                               std::function<void(const QString&)> store) {
    field->lineEdit()->setMaxLength(maxLength);
    field->setCompleter(nullptr);  // a typed address is taken as typed
    connect(field, &QComboBox::editTextChanged, this, [field, store](const QString& text) {
        const auto filtered = HexFilter(text);
        if (!filtered) {
            field->setCurrentIndex(0);
            field->setEditText(field->itemText(0));
            return;
        }
        if (*filtered != text) {
            field->setEditText(*filtered);
            return;
        }
        store(text);
    });
}

// A named model fixes the flash fields; "Personalizado" lets them be edited.
void JtagSubPage::ShowChips() {
    const bool editable = !settings_.HasNamedModel();
    for (int chip = 0; chip < 2; ++chip) {
        const QSignalBlocker quietStart(starts_[chip]);
        starts_[chip]->setEditText(settings_.chips[chip].start);
        Select(types_[chip], settings_.chips[chip].type);
        starts_[chip]->setEnabled(editable);
        types_[chip]->setEnabled(editable);
    }
}

void JtagSubPage::Refresh() {
    tck_->Refresh();
    waitStart_->Refresh();
    {
        const QSignalBlocker quiet(trap_);
        trap_->setEditText(settings_.trapAddress);
    }
    verify_->setChecked(settings_.verifyFlash);
    force_->setChecked(settings_.forceFlash);
    addChecksum_->setChecked(settings_.addFirmwareChecksum);
    checksumPosition_->setEnabled(settings_.addFirmwareChecksum);
    {
        const QSignalBlocker quiet(checksumPosition_);
        checksumPosition_->setEditText(settings_.checksumPosition);
    }
    SetEntries(model_, QStringList{Msg(269)} + settings_.models);
    Select(model_, settings_.model);
    for (auto* types : types_) SetEntries(types, settings_.flashTypes);
    ShowChips();
}

void JtagSubPage::Retranslate() {
    Select(model_, settings_.model);
}

}  // namespace velarix::gui
