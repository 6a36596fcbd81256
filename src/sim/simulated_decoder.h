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
    // The CPU's internal memory, which holds the trap vectors, and the
    // memory it shares with the video decoder, which holds the frame memory.
    static constexpr std::uint32_t kSramStart = 0x80000000;
    static constexpr std::uint32_t kSramSize = 0x2000;
    static constexpr std::uint32_t kSdramStart = 0xC0000000;
    static constexpr std::uint32_t kSdramSize = 0x800000;
    static constexpr std::uint32_t kFrameStart = 0xC00D0000;
    // Where the working channel table stands in RAM.
    static constexpr std::uint32_t kRamTableStart = 0x401289A0;

    SimulatedDecoder();

    const QByteArray& Eeprom() const { return eeprom_; }
    void SetEeprom(const QByteArray& bytes);

    QByteArray& Ram() { return ram_; }
    FlashChip& Flash(int chip) { return flash_[chip]; }
    // The flash chip holding `address`, or none.
    FlashChip* FlashAt(std::uint32_t address);

    QByteArray& Sram() { return sram_; }
    QByteArray& Sdram() { return sdram_; }
    // The CPU's bus as its debug controller reaches it: RAM, the flash chips
    // (read only: a write to flash takes the chip's own commands, which the
    // trap routine gives), internal memory and the shared memory. Anything
    // else reads FF and takes no writes.
    std::uint8_t BusRead(std::uint32_t address);
    void BusWrite(std::uint32_t address, std::uint8_t value);

private:
    // What a decoder fresh from the shop holds: a firmware in chip 1, a
    // channel list in chip 2 and in RAM, colour bars in the frame memory.
    void FillSampleContents();

    QByteArray eeprom_;
    QByteArray ram_;
    std::array<FlashChip, 2> flash_;
    QByteArray sram_;
    QByteArray sdram_;
};

// The EEPROM a freshly made simulated decoder holds.
QByteArray DefaultEeprom();

}  // namespace velarix::sim
