#pragma once

#include <QByteArray>

namespace velarix::sim {

// A decoder that exists only in memory, for the tests, the demo and anyone
// without hardware at hand. It shares no code with the program that talks to
// it: every protocol is written here a second time, from the decoder's side.
class SimulatedDecoder {
public:
    static constexpr int kEepromSize = 2048;

    SimulatedDecoder();

    const QByteArray& Eeprom() const { return eeprom_; }
    void SetEeprom(const QByteArray& bytes);

private:
    QByteArray eeprom_;
};

// The EEPROM a freshly made simulated decoder holds.
QByteArray DefaultEeprom();

}  // namespace velarix::sim
