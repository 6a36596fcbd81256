#include "shell/transfer_rate.h"

#include <algorithm>
#include <cfenv>
#include <cmath>

namespace velarix {

std::int64_t RoundHalfEven(double value) {
    const int previous = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double r = std::nearbyint(value);
    std::fesetround(previous);
    return static_cast<std::int64_t>(r);
}

QString SpeedText(double speed, const QString& unit, const QLocale& locale) {
    constexpr int kSignificant = 5;
    constexpr int kDecimals = 2;
    int decimals = kDecimals;
    if (speed != 0.0 && std::isfinite(speed)) {
        const int integerDigits = static_cast<int>(std::floor(std::log10(std::fabs(speed)))) + 1;
        decimals = std::clamp(kSignificant - integerDigits, 0, kDecimals);
        if (integerDigits > kSignificant) {
            const double scale = std::pow(10.0, integerDigits - kSignificant);
            speed = std::round(speed / scale) * scale;
        }
    }
    QString text = QString::number(speed, 'f', decimals);
    if (decimals < kDecimals) {
        if (decimals == 0) text += QLatin1Char('.');
        text += QString(kDecimals - decimals, QLatin1Char('0'));
    }
    text.replace(QLatin1Char('.'), locale.decimalPoint());
    return text + unit;
}

void ShowTransferRate(OperationFrame& frame, StatusPage page, const TransferProgress& progress,
                      const QString& speedUnit, const QString& secondsUnit, const QLocale& locale) {
    const double speed = progress.elapsedMs != 0 ? static_cast<double>(progress.bytesDone) /
                                                       (progress.elapsedMs / 1000.0)
                                                 : 0.0;
    frame.SetStatusField(page, StatusField::Speed, SpeedText(speed, speedUnit, locale));
    if (speed != 0.0) {
        const auto seconds = RoundHalfEven(static_cast<double>(progress.bytesLeft) / speed);
        frame.SetStatusField(page, StatusField::TimeLeft, QString::number(seconds) + secondsUnit);
    }
}

}  // namespace velarix
