#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <cstdint>
#include <optional>

namespace velarix {

// The text forms in which the tables hold their fields.

// A decimal integer: an optional sign and one or more digits, within the
// signed 32-bit range. Nothing else (blanks included) reads as a number.
std::optional<std::int32_t> DecimalInteger(QStringView text);

// A decimal number with a decimal comma: an optional sign, digits, at most one
// "," and digits after it (at least one digit in all).
std::optional<double> DecimalNumber(QStringView text);

// A number as its shortest decimal form of up to 15 significant digits, with
// a decimal comma, no thousands separator and no trailing zeros: 1612000 or
// 1612000,5.
QString FrequencyText(double value);

// The FEC texts of codes 0 to 5.
const QStringList& FecTexts();

// The encryption systems of a channel's status bits 5 to 7, code 0 to 7. Code
// 0's text is a message of the program ("No cambiar"); the others are names.
QString EncryptionSystemName(int code);

// What text on the clipboard holds, judged by its first 65534 characters:
// rows copied from one of the grids, or nothing to paste.
enum class ClipboardKind { None, TransponderRows, ChannelRows };
ClipboardKind KindOfClipboard(QStringView text);

}  // namespace velarix
