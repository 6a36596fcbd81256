#include "simulated_decoder.h"

namespace velarix::sim {

SimulatedDecoder::SimulatedDecoder() : eeprom_(DefaultEeprom()) {}

void SimulatedDecoder::SetEeprom(const QByteArray& bytes) {
    eeprom_ = bytes.left(kEepromSize);
    eeprom_.append(QByteArray(kEepromSize - eeprom_.size(), '\xFF'));
}

QByteArray DefaultEeprom() {
    QByteArray bytes(SimulatedDecoder::kEepromSize, '\xFF');
    // Each byte differs from its neighbours, so that a transfer that drops,
    // repeats or swaps a row is seen at once.
    for (int a = 0; a < 0x100; ++a) bytes[a] = static_cast<char>((a * 7 + 3) & 0xFF);
    return bytes;
}

}  // namespace velarix::sim
