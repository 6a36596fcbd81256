#pragma once

#include <QByteArray>
#include <QString>

namespace velarix {

// A service command line with its checksum appended: the complement of the
// XOR of the character codes after the leading "%", as two upper-case
// hexadecimal digits. The length is counted in 8 bits, so of a line of 256
// characters or more only characters 2 to (length mod 256) are summed.
QString AddChecksum(const QString& line);
// The same over the bytes of a line as they are sent.
QByteArray AddChecksumToBytes(const QByteArray& line);

}  // namespace velarix
