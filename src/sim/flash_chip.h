#pragma once

#include <QByteArray>
#include <cstdint>
#include <vector>

namespace velarix::sim {

// A NOR flash chip as the decoder's CPU sees it at its start address:
// programming can only clear bits, erasing sets a whole sector to FF.
class FlashChip {
public:
    FlashChip(std::uint32_t start, std::vector<std::uint32_t> sectorSizes);

    std::uint32_t Start() const { return start_; }
    std::uint32_t Size() const { return static_cast<std::uint32_t>(bytes_.size()); }
    bool Contains(std::uint32_t address) const {
        return address >= start_ && address - start_ < Size();
    }
    const QByteArray& Bytes() const { return bytes_; }
    // Puts bytes in as a programmer's socket would, before the chip is fitted.
    void Fill(std::uint32_t offset, const QByteArray& data);

    // The sector holding `offset`, or -1.
    int SectorAt(std::uint32_t offset) const;
    std::uint32_t SectorStart(int sector) const { return starts_[sector]; }
    int SectorCount() const { return static_cast<int>(sizes_.size()); }

    // Programs `data` at `offset`: each byte becomes the old byte AND the new
    // one. True when every byte now holds what was asked (a 0 cannot become 1).
    bool Program(std::uint32_t offset, const QByteArray& data);
    // Erases the sector that starts at `offset`; false when no sector starts there.
    bool EraseSector(std::uint32_t offset);
    void EraseChip();

private:
    std::uint32_t start_;
    std::vector<std::uint32_t> sizes_;
    std::vector<std::uint32_t> starts_;
    QByteArray bytes_;
};

// Sector layouts of the chips the simulated decoder carries, written down
// from the makers' data sheets.
std::vector<std::uint32_t> BottomBoot16MbitSectors();  // 16K, 8K, 8K, 32K, 31 x 64K
std::vector<std::uint32_t> BottomBoot4MbitSectors();   // 16K, 8K, 8K, 32K, 7 x 64K

}  // namespace velarix::sim
