#include "parallel_firmware_controls.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "lpt/firmware_upload.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kWidth = 171;

}  // namespace

ParallelFirmwareControls::ParallelFirmwareControls(QWidget* column, Settings& settings)
    : QObject(column), settings_(settings) {
    MakeLabel(column, "Label18", {2, 8, 78, 20});
    address = MakeCombo(column, "ComboBox7", {80, 4, kWidth - 80, 26}, true);
    address->addItems(FirmwareAddressEntries());
    address->lineEdit()->setMaxLength(8);
    address->setInsertPolicy(QComboBox::NoInsert);
    connect(address, &QComboBox::activated, this, &ParallelFirmwareControls::AddressChosen);
    connect(address->lineEdit(), &QLineEdit::textEdited, this,
            &ParallelFirmwareControls::AddressTyped);

    QGroupBox* command = MakeGroup(column, "GroupBox4", {0, 36, kWidth, 94});
    commandGroup_ = new QButtonGroup(this);
    const char* commandNames[] = {"RadioButton1", "RadioButton2", "RadioButton3"};
    for (int i = 0; i < 3; ++i) {
        commands[i] = MakeRadio(command, commandNames[i], {3, 20 + 23 * i, kWidth - 4, 22});
        commandGroup_->addButton(commands[i], i);
        // The longest caption, "FL (K6003, K7003 o K2501)", fits the column
        // only a little smaller.
        QFont font = commands[i]->font();
        font.setPointSizeF(font.pointSizeF() * 0.85);
        commands[i]->setFont(font);
    }
    connect(commandGroup_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) settings_.firmwareCommand = id;
    });

    phase12 = MakeCheck(column, "CheckBox1", {2, 136, kWidth - 2, 22});
    connect(phase12, &QCheckBox::toggled, this, [this](bool on) { settings_.phase12 = on; });
    progress = MakeCheck(column, "CheckBox3", {2, 160, kWidth - 2, 22});
    connect(progress, &QCheckBox::toggled, this, [this](bool on) { settings_.showProgress = on; });

    QGroupBox* source = MakeGroup(column, "GroupBox12", {0, 188, kWidth, 70});
    sourceGroup_ = new QButtonGroup(this);
    const char* sourceNames[] = {"RadioButton7", "RadioButton8"};
    for (int i = 0; i < 2; ++i) {
        sources[i] = MakeRadio(source, sourceNames[i], {8, 20 + 23 * i, kWidth - 12, 22});
        sourceGroup_->addButton(sources[i], i);
    }
    connect(sourceGroup_, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on) settings_.firmwareSource = id;
    });

    sendButton = MakeButton(column, "Button9", {0, 268, kWidth, 30});
    checkButton = MakeButton(column, "Button25", {0, 304, kWidth, 30});
    Refresh();
}

void ParallelFirmwareControls::CheckOne(QButtonGroup* group, int id) {
    const QSignalBlocker quiet(group);
    group->setExclusive(false);
    for (QAbstractButton* button : group->buttons()) button->setChecked(group->id(button) == id);
    group->setExclusive(true);
}

void ParallelFirmwareControls::Refresh() {
    Select(address, settings_.firmwareAddress);
    CheckOne(commandGroup_, settings_.firmwareCommand);
    CheckOne(sourceGroup_, settings_.firmwareSource);
    const QSignalBlocker quietPhases(phase12);
    const QSignalBlocker quietProgress(progress);
    phase12->setChecked(settings_.phase12);
    progress->setChecked(settings_.showProgress);
}

// An item of the list sets the command and "Envío con fase 1 y 2" as well;
// the person may change both afterwards.
void ParallelFirmwareControls::AddressChosen(int item) {
    settings_.firmwareAddress = item;
    const auto preset = PresetOf(address->itemText(item));
    if (!preset) return;
    commands[preset->command]->setChecked(true);
    phase12->setChecked(preset->phase12);
}

// Typed text keeps only what an address may hold.
void ParallelFirmwareControls::AddressTyped(const QString& text) {
    const QString kept = AddressBoxText(text);
    if (kept == text) return;
    QLineEdit* edit = address->lineEdit();
    const int cursor = edit->cursorPosition() - static_cast<int>(text.size() - kept.size());
    edit->setText(kept);
    edit->setCursorPosition(std::max(cursor, 0));
}

}  // namespace velarix::gui
