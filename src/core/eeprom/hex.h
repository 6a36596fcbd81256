#pragma once

#include <QString>
#include <QStringView>
#include <cstdint>

namespace velarix {

// Upper-case hexadecimal text to a number: 0 for the empty text, -1 when a
// character is not "0"-"9" or "A"-"F" or when the value does not fit a signed
// 64-bit number (more than 16 digits, or 16 digits from 8000000000000000 up).
std::int64_t HexToInt(QStringView text);

// `value` as `digits` upper-case hexadecimal digits with leading zeros.
QString HexText(std::uint64_t value, int digits);

// True when every character is "0"-"9" or "A"-"F", whatever the length.
bool IsHexText(QStringView text);

// True for exactly two upper-case hexadecimal digits.
bool IsByteText(QStringView text);

}  // namespace velarix
