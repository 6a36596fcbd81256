#include "config_serial.h"

#include "shell/message_table.h"
#include "widgets.h"

namespace velarix::gui {

namespace {

constexpr int kTop = 20;
constexpr int kRow = 32;

QRect Caption(int row) {
    return {20, kTop + row * kRow, 170, 24};
}
QRect Field(int row) {
    return {200, kTop + row * kRow, 180, 24};
}

}  // namespace

SerialSubPage::SerialSubPage(QWidget* page, Settings& settings)
    : QObject(page), settings_(settings) {
    const char* captions[] = {"Label9", "Label16", "Label17", "Label28", "Label29", "Label26"};
    for (int row = 0; row < 6; ++row) MakeLabel(page, captions[row], Caption(row));
    port_ = MakeCombo(page, "ComboBox2", Field(0));
    baud_ = MakeCombo(page, "ComboBox3", Field(1));
    dataBits_ = MakeCombo(page, "ComboBox4", Field(2));
    parity_ = MakeCombo(page, "ComboBox8", Field(3));
    stopBits_ = MakeCombo(page, "ComboBox9", Field(4));
    flow_ = MakeCombo(page, "ComboBox5", Field(5));
    baud_->addItems(BaudRateEntries());
    dataBits_->addItems(DataBitsEntries());
    parity_->addItems({Msg(64), Msg(65), Msg(66), Msg(67), Msg(68)});
    stopBits_->addItems(StopBitsEntries());
    flow_->addItems({Msg(63), QStringLiteral("Software"), QStringLiteral("Hardware")});

    connect(port_, &QComboBox::currentIndexChanged, this, [this](int i) {
        settings_.serial.port = i;
        if (portChosen) portChosen();
    });
    auto line = [this](QComboBox* list, int SerialSettings::*field) {
        connect(list, &QComboBox::currentIndexChanged, this, [this, field](int i) {
            settings_.serial.*field = i;
            if (linesChanged) linesChanged();
        });
    };
    line(baud_, &SerialSettings::baudRate);
    line(dataBits_, &SerialSettings::dataBits);
    line(parity_, &SerialSettings::parity);
    line(stopBits_, &SerialSettings::stopBits);
    line(flow_, &SerialSettings::flowControl);
}

void SerialSubPage::Refresh() {
    SetEntries(port_, settings_.ports);
    Select(port_, settings_.serial.port);
    Select(baud_, settings_.serial.baudRate);
    Select(dataBits_, settings_.serial.dataBits);
    Select(parity_, settings_.serial.parity);
    Select(stopBits_, settings_.serial.stopBits);
    Select(flow_, settings_.serial.flowControl);
}

void SerialSubPage::Retranslate() {
    Select(parity_, settings_.serial.parity);
    Select(flow_, settings_.serial.flowControl);
}

}  // namespace velarix::gui
