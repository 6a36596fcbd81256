#include "jtag_firmware_controls.h"

#include <QLineEdit>
#include <QSignalBlocker>

#include "shell/settings.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kWidth = 171;
constexpr int kRow = 23;

}  // namespace

JtagFirmwareControls::JtagFirmwareControls(QWidget* column, Settings& settings)
    : QObject(column), settings_(settings) {
    receiveButton = MakeButton(column, "Button10", {0, 0, kWidth, kRow});
    sendButton = MakeButton(column, "Button12", {0, 25, kWidth, kRow});
    identifyButton = MakeButton(column, "Button11", {0, 50, kWidth, kRow});
    MakeLabel(column, "Label60", {0, 78, 72, 22});
    address = MakeCombo(column, "ComboBox6", {72, 78, kWidth - 72, 22}, true);
    MakeLabel(column, "Label58", {0, 103, 72, 22});
    length = MakeCombo(column, "ComboBox7", {72, 103, kWidth - 72, 22}, true);
    address->addItems(JtagAddressEntries());
    length->addItems(JtagLengthEntries());

    auto* use = MakeGroup(column, "GroupBox11", {0, 130, kWidth, 117});
    const char* names[] = {"RadioButton4", "RadioButton5", "RadioButton9", "RadioButton18",
                           "RadioButton6"};
    // On screen: the two tables, "Archivo", "Imagen capturada", "Eeprom".
    const int rows[] = {0, 1, 3, 4, 2};
    for (int i = 0; i < 5; ++i) {
        destinations[i] = MakeRadio(use, names[i], {8, 20 + rows[i] * 19, kWidth - 12, 19});
        connect(destinations[i], &QRadioButton::clicked, this,
                [this, i] { Choose(static_cast<ReadDestination>(i)); });
    }

    eraseButton = MakeButton(column, "Button23", {0, 252, kWidth, kRow});
    auto* method = MakeGroup(column, "GroupBox21", {0, 280, kWidth, 60});
    eraseMethods[0] = MakeRadio(method, "RadioButton16", {8, 20, kWidth - 12, 19});
    eraseMethods[1] = MakeRadio(method, "RadioButton17", {8, 39, kWidth - 12, 19});
    eraseMethods[1]->setChecked(true);

    BindBox(address, AddressOnLeaving, &Settings::jtagAddress);
    BindBox(length, LengthOnLeaving, &Settings::jtagLength);
}

// The list keeps its entries whatever is typed; the text is the setting.
void JtagFirmwareControls::BindBox(QComboBox* box, QString (*onLeaving)(const QString&),
                                   QString Settings::*held) {
    box->setCompleter(nullptr);
    QLineEdit* edit = box->lineEdit();
    connect(edit, &QLineEdit::textEdited, this, [this, edit, held](const QString& text) {
        const QString hex = TypedHex(text);
        if (hex != text) {
            // Keep the cursor after the characters that stayed.
            const int cursor = int(TypedHex(text.left(edit->cursorPosition())).size());
            edit->setText(hex);
            edit->setCursorPosition(cursor);
        }
        settings_.*held = hex;
    });
    connect(box, &QComboBox::textActivated, this,
            [this, held](const QString& text) { settings_.*held = text; });
    // The box itself holds the focus, its line edit only shows it.
    OnFocusOut(box, [this, box, onLeaving, held] {
        const QString shown = onLeaving(box->currentText());
        box->setEditText(shown);
        settings_.*held = shown;
    });
}

void JtagFirmwareControls::Choose(ReadDestination destination) {
    settings_.jtagSource = static_cast<int>(destination);
    if (const auto range = PresetRange(destination, settings_)) {
        address->setEditText(range->address);
        length->setEditText(range->length);
        settings_.jtagAddress = range->address;
        settings_.jtagLength = range->length;
    }
}

EraseMethod JtagFirmwareControls::ChosenEraseMethod() const {
    return eraseMethods[0]->isChecked() ? EraseMethod::ByBlocks : EraseMethod::OneCommand;
}

std::optional<ReadDestination> JtagFirmwareControls::Destination() const {
    for (int i = 0; i < 5; ++i) {
        if (destinations[i]->isChecked()) return static_cast<ReadDestination>(i);
    }
    return std::nullopt;
}

void JtagFirmwareControls::Refresh() {
    address->setEditText(settings_.jtagAddress);
    length->setEditText(settings_.jtagLength);
    // A file may leave every option off; then none is shown chosen.
    for (auto* radio : destinations) radio->setAutoExclusive(false);
    for (int i = 0; i < 5; ++i) destinations[i]->setChecked(i == settings_.jtagSource);
    for (auto* radio : destinations) radio->setAutoExclusive(true);
}

}  // namespace velarix::gui
