#include "jtag/flash_layout.h"

#include <algorithm>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/settings.h"

namespace velarix {

bool FlashChipLayout::Contains(std::int64_t address) const {
    return start >= 0 && address >= start && address < End();
}

int FlashChipLayout::BlockAt(std::int64_t address) const {
    if (start < 0) return -1;
    for (int i = 0; i < Blocks(); ++i) {
        if (BlockStart(i) <= address && address < BlockEnd(i)) return i;
    }
    return -1;
}

FlashChipLayout ChipLayout(const Settings& settings, int chip) {
    const FlashChip& held = settings.chips[chip];
    FlashChipLayout layout;
    layout.number = chip + 1;
    layout.start = held.start.isEmpty() ? -1 : HexToInt(held.start);
    layout.erasureMode = held.erasureMode;
    const int blocks = std::clamp(held.numBlocks, 0, FlashChip::kBoundaries - 1);
    layout.boundaries.assign(held.boundaries.begin(), held.boundaries.begin() + blocks + 1);
    return layout;
}

QString ModelName(const Settings& settings) {
    if (settings.HasNamedModel()) return settings.models.at(settings.model - 1);
    return settings.model == 0 ? Msg(269) : QString();
}

QString FlashTypeName(const Settings& settings, int chip) {
    const int type = settings.chips[chip].type;
    return type >= 0 && type < settings.flashTypes.size() ? settings.flashTypes.at(type)
                                                          : QString();
}

}  // namespace velarix
