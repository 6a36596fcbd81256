#include "shell/settings.h"

namespace velarix {

namespace {

using W = HeldWidth;

constexpr SliderSpec kSliders[kSliderCount] = {
    {"RetardoBusy", "TrackBar10", 300, 500, 50, 700, W::Signed64, 225},
    {"RetardoStrobe", "TrackBar1", 10, 10, 1, 100, W::Unsigned8, 224},
    {"RetardoNegociacion1", "TrackBar2", 10, 10, 1, 100, W::Unsigned8, 224},
    {"RetardoNegociacion2", "TrackBar3", 500, 500, 200, 1000, W::Signed64, 225},
    {"RetardoNegociacion3", "TrackBar4", 500, 500, 200, 1000, W::Signed64, 225},
    {"RetardoNegociacion4", "TrackBar5", 10, 10, 1, 100, W::Unsigned8, 224},
    {"RetardoApertura1", "TrackBar6", 100, 100, 50, 700, W::Signed64, 225},
    {"RetardoApertura2", "TrackBar7", 100, 100, 50, 700, W::Signed64, 225},
    {"RetardoClausura1", "TrackBar8", 500, 500, 200, 1000, W::Signed64, 225},
    {"RetardoClausura2", "TrackBar9", 500, 500, 200, 1000, W::Signed64, 225},
    {"RetardoComienzo", "TrackBar11", 2000, 3000, 200, 5000, W::Signed64, 225},
    {"RetardoVerificacion", "TrackBar12", 1000, 1000, 200, 2000, W::Signed64, 225},
    {"RetardoEntreBytes", "TrackBar13", 0, 0, 0, 10000, W::Signed64, 224},
    {"DuracionTCK", "TrackBar14", 0, 0, 0, 1000, W::Signed64, 224},
    {"WStartBits", "TrackBar16", 1024, 1024, 3, 2048, W::Signed32, -1},
    {"CalidadJPEG", "TrackBar15", 100, 100, 1, 100, W::Unsigned8, -1},
};

QStringList Positions() {
    QStringList entries;
    for (int i = 0; i < 32; ++i) {
        entries << QStringLiteral("%1").arg(i * 0x10000, 5, 16, QLatin1Char('0')).toUpper();
    }
    return entries;
}

}  // namespace

const SliderSpec& SliderOf(Slider slider) {
    return kSliders[slider];
}

Settings::Settings() {
    for (int i = 0; i < kSliderCount; ++i) sliders[i] = kSliders[i].initial;
    chips[0].start = QStringLiteral("7FE00000");
    chips[1].start = QStringLiteral("60000000");
    for (int i = 0; i < 8; ++i) satelliteNames[i] = satellites[i < 4 ? i : 0];
}

const QStringList& ParallelRangeEntries() {
    static const QStringList entries{"278-27F, 678-67A", "378-37F, 778-77A", "3BC-3C3, 7BC-7BE",
                                     "A068-A06F, A468-A46F", "2000-2007, 2400-2407"};
    return entries;
}

std::uint16_t ParallelBaseAt(int index) {
    static const std::uint16_t bases[] = {0x278, 0x378, 0x3BC, 0xA068, 0x2000};
    return (index >= 0 && index < 5) ? bases[index] : 0x378;
}

const QStringList& TablePositionEntries() {
    static const QStringList entries = Positions();
    return entries;
}

const QStringList& PictureSizeEntries() {
    static const QStringList entries{"352 x 576", "528 x 576", "544 x 576", "704 x 576",
                                     "720 x 576"};
    return entries;
}

const QStringList& TrapAddressEntries() {
    static const QStringList entries{"40010000", "C0010000", "40030000", "C0302900", "C0700000"};
    return entries;
}

const QStringList& ChecksumPositionEntries() {
    static const QStringList entries{"13FC00", "11FC00"};
    return entries;
}

const QStringList& FlashStartEntries() {
    static const QStringList entries{"60000000", "7FE00000"};
    return entries;
}

const QStringList& FirmwareAddressEntries() {
    static const QStringList entries{"7FE00000", "60000000", "FFF90000", "FFF82000"};
    return entries;
}

const QStringList& ChannelCountEntries() {
    static const QStringList entries{"1000", "2000"};
    return entries;
}

const QStringList& TransponderCountEntries() {
    static const QStringList entries{"100", "200"};
    return entries;
}

void ApplyPictureSize(Settings& settings) {
    const QString entry = PictureSizeEntries().value(settings.pictureSize);
    if (entry.isEmpty()) return;
    settings.pictureWidth = entry.mid(0, 3).toInt();
    settings.pictureHeight = entry.mid(6, 3).toInt();
}

void ApplyChannelCount(Settings& settings) {
    settings.channelRows = settings.channelCount == 1 ? 2003 : 1000;
}

void ApplyTransponderCount(Settings& settings) {
    settings.transponderRows = settings.transponderCount == 1 ? 200 : 100;
}

}  // namespace velarix
