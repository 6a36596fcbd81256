#include "serial/checksum.h"

#include "eeprom/hex.h"

namespace velarix {

QString AddChecksum(const QString& line) {
    const int last = static_cast<int>(line.size() % 256);
    unsigned x = 0;
    for (int i = 1; i < last; ++i) x ^= line[i].unicode();
    return line + HexText(~x & 0xFF, 2);
}

QByteArray AddChecksumToBytes(const QByteArray& line) {
    const int last = static_cast<int>(line.size() % 256);
    unsigned x = 0;
    for (int i = 1; i < last; ++i) x ^= static_cast<unsigned char>(line[i]);
    return line + HexText(~x & 0xFF, 2).toLatin1();
}

}  // namespace velarix
