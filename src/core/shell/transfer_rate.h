#pragma once

#include <QLocale>
#include <QString>
#include <cstdint>

#include "shell/operation_frame.h"

namespace velarix {

// Rounds to the nearest whole number, a half going to the even neighbour.
std::int64_t RoundHalfEven(double value);

// A speed in fixed-point notation with 2 decimals and at most 5 significant
// digits (digits past the fifth read 0), in the locale's decimal separator,
// followed directly by the unit.
QString SpeedText(double speed, const QString& unit, const QLocale& locale = QLocale());

struct TransferProgress {
    std::int64_t bytesDone;
    std::int64_t bytesLeft;  // the amount still to move
    std::uint32_t elapsedMs;
};

// Writes the speed and time-left fields of a status page. The speed is bytes
// done per second of elapsed time (0 when no time has passed); at speed 0 the
// time-left field keeps its text.
void ShowTransferRate(OperationFrame& frame, StatusPage page, const TransferProgress& progress,
                      const QString& speedUnit, const QString& secondsUnit,
                      const QLocale& locale = QLocale());

}  // namespace velarix
