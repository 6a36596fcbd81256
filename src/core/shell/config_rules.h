#pragma once

#include <QString>
#include <optional>
#include <utility>

namespace velarix {

struct Settings;

// The text filters and rules of the configuration page, apart from its widgets.

// "Frec. LNB Bajo/Alto :": an emptied field takes its default; otherwise
// everything but the digits 0-9 is dropped.
QString DigitFilter(const QString& text, const QString& emptyDefault);

// Hexadecimal fields: nothing when the field is empty (the list's first entry
// is then chosen); otherwise upper case with everything but 0-9 and A-F dropped.
std::optional<QString> HexFilter(const QString& text);

// The trap address on leaving its field: read as hexadecimal, its two lowest
// bits cleared, written back as exactly 8 digits.
QString AlignTrapAddress(const QString& text);

// Two table positions may not be the same: the one just changed moves to the
// position before the other's, or to 1 when the other is at 0.
int KeepApart(int changed, int other);

// "Nombre Satélite A/B :": an empty name becomes "A" or "B"; two equal names
// become "A" and "B".
std::pair<QString, QString> SatelliteNameRule(const QString& a, const QString& b);

// "Valores por Defecto": the values it sets. What takes effect at once (serial
// settings, I/O range, sliders) is for the caller to apply; lists whose change
// handlers would run (counts, symbol rates, picture size, chip 1's type) only
// change their selection.
void ApplyFactoryDefaults(Settings& settings);

}  // namespace velarix
