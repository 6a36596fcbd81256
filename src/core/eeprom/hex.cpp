#include "eeprom/hex.h"

namespace velarix {

namespace {

int DigitValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

}  // namespace

std::int64_t HexToInt(QStringView text) {
    constexpr std::uint64_t kLargest = 0x7FFFFFFFFFFFFFFFull;
    constexpr qsizetype kMostDigits = 16;
    if (text.size() > kMostDigits) return -1;
    std::uint64_t value = 0;
    for (const QChar c : text) {
        const int digit = DigitValue(c);
        if (digit < 0) return -1;
        if (value > (kLargest - digit) / 16) return -1;
        value = value * 16 + digit;
    }
    return static_cast<std::int64_t>(value);
}

QString HexText(std::uint64_t value, int digits) {
    return QStringLiteral("%1").arg(value, digits, 16, QLatin1Char('0')).toUpper();
}

bool IsHexText(QStringView text) {
    for (const QChar c : text) {
        if (DigitValue(c) < 0) return false;
    }
    return true;
}

bool IsByteText(QStringView text) {
    return text.size() == 2 && HexToInt(text) >= 0;
}

}  // namespace velarix
