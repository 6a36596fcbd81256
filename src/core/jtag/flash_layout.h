#pragma once

#include <QString>
#include <cstdint>
#include <vector>

namespace velarix {

struct Settings;

// One of the decoder's two flash chips as the settings describe it: where it
// starts, its erasure mode, and its blocks. Block i covers start + b[i] up
// to, not including, start + b[i + 1], for i below the block count; the
// boundaries are offsets from the chip start, as the flash-type file gives
// them. Addresses are held in 64 bits, so that a start near the top of the
// address space cannot wrap round.
struct FlashChipLayout {
    int number = 1;           // 1: the interactive software, 2: the channel list
    std::int64_t start = -1;  // -1 when the start text is not hexadecimal
    std::uint8_t erasureMode = 48;
    std::vector<std::uint32_t> boundaries;  // block count + 1 entries

    int Blocks() const { return boundaries.empty() ? 0 : int(boundaries.size()) - 1; }
    std::int64_t BlockStart(int i) const { return start + boundaries[i]; }
    std::int64_t BlockEnd(int i) const { return start + boundaries[i + 1]; }
    // The end of the last block.
    std::int64_t End() const { return boundaries.empty() ? start : start + boundaries.back(); }
    // start <= address < start + the last boundary.
    bool Contains(std::int64_t address) const;
    // The first block holding `address`, or -1.
    int BlockAt(std::int64_t address) const;
};

// Chip 1 or 2 (`chip` 0 or 1) from the settings: a block count outside 0 to
// 1024 is kept inside it.
FlashChipLayout ChipLayout(const Settings& settings, int chip);

// The texts the settings give the model and the chips' flash types, as the
// page logs them before a write.
QString ModelName(const Settings& settings);
QString FlashTypeName(const Settings& settings, int chip);

}  // namespace velarix
