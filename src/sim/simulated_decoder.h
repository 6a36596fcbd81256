#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>

#include "flash_chip.h"

namespace velarix::sim {

// A decoder that exists only in memory, for the tests, the demo and anyone
// without hardware at hand. It shares no code with the program that talks to
// it: every protocol is written here a second time, from the decoder's side.
class SimulatedDecoder {
public:
    static constexpr int kEepromSize = 2048;
    // The CPU's RAM: 2 MiB from kRamStart.
    static constexpr std::uint32_t kRamStart = 0x40000000;
    static constexpr std::uint32_t kRamSize = 0x200000;
    // Chip 1 (the interactive software) and chip 2 (the channel list), where
    // the settings of a new installation look for them: 16-Mbit bottom-boot
    // chips at 7FE00000h and 60000000h.
    static constexpr std::uint32_t kFlash1Start = 0x7FE00000;
    static constexpr std::uint32_t kFlash2Start = 0x60000000;

    SimulatedDecoder();

    const QByteArray& Eeprom() const { return eeprom_; }
    void SetEeprom(const QByteArray& bytes);

    QByteArray& Ram() { return ram_; }
    FlashChip& Flash(int chip) { return flash_[chip]; }
    // The flash chip holding `address`, or none.
    FlashChip* FlashAt(std::uint32_t address);

private:
    QByteArray eeprom_;
    QByteArray ram_;
    std::array<FlashChip, 2> flash_;
};

// The EEPROM a freshly made simulated decoder holds.
QByteArray DefaultEeprom();

}  // namespace velarix::sim
