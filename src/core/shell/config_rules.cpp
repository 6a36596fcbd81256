#include "shell/config_rules.h"

#include "eeprom/hex.h"
#include "shell/settings.h"

namespace velarix {

QString DigitFilter(const QString& text, const QString& emptyDefault) {
    if (text.isEmpty()) return emptyDefault;
    QString digits;
    for (QChar c : text) {
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
    }
    return digits;
}

std::optional<QString> HexFilter(const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    QString hex;
    for (QChar c : text.toUpper()) {
        if ((c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
            (c >= QLatin1Char('A') && c <= QLatin1Char('F'))) {
            hex += c;
        }
    }
    return hex;
}

QString AlignTrapAddress(const QString& text) {
    const std::int64_t value = HexToInt(text);
    const std::uint64_t address = value < 0 ? 0 : static_cast<std::uint64_t>(value);
    return HexText((address & 0xFFFFFFFFull) & ~0x3ull, 8);
}

int KeepApart(int changed, int other) {
    if (changed != other) return changed;
    return other == 0 ? 1 : other - 1;
}

std::pair<QString, QString> SatelliteNameRule(const QString& a, const QString& b) {
    QString first = a.isEmpty() ? QStringLiteral("A") : a;
    QString second = b.isEmpty() ? QStringLiteral("B") : b;
    if (first == second) return {QStringLiteral("A"), QStringLiteral("B")};
    return {first, second};
}

void ApplyFactoryDefaults(Settings& s) {
    s.serial = SerialSettings{};
    if (s.ports.isEmpty()) s.serial.port = -1;
    s.parallel = 1;
    s.channelCount = 1;
    s.transponderCount = 1;
    s.trapAddress = TrapAddressEntries().first();
    s.chips[0].type = s.flashTypes.isEmpty() ? -1 : 0;
    s.chips[0].start = FlashStartEntries().first();
    s.checksumPosition = ChecksumPositionEntries().first();
    for (int i = 0; i < kSliderCount; ++i) s.sliders[i] = SliderOf(static_cast<Slider>(i)).factory;
    s.terminalChecksum = true;
    s.pictureSize = 1;
    s.tcs = 0;
    s.tpt = 1;
    s.lnbLow = QStringLiteral("9750");
    s.lnbHigh = QStringLiteral("10600");
    s.symbolRateList = s.symbolRateLists.size() > 7 ? 7 : -1;
    s.verifyFlash = true;
    s.forceFlash = false;
    s.addFirmwareChecksum = false;
}

}  // namespace velarix
