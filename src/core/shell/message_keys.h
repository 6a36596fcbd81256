#pragma once

#include <span>

namespace velarix {

// One translatable text: its key number (the key is "traduc" + number) and the
// Spanish text the program shows when no language file replaces it.
struct MessageDefault {
    int key;
    const char* spanish;  // UTF-8
};

// One place a key's text goes. Controls are named by their objectName.
struct TextTarget {
    enum class Kind {
        Message,     // the message table, read by the tasks
        Caption,     // caption or text of a control, tab caption of a page, menu item
        ListEntry,   // entry `index` of a drop-down list
        GridHeader,  // header of column `index` of a grid
        Hint,        // hint (tool tip) of a control
    };
    int key;
    Kind kind;
    const char* object;
    int index;
};

// All keys in ascending order: 0 to 368, without 57, 218, 326 and 327, then
// the keys added since (369 to 372: the channel tables; 380 to 389: the
// parallel port; 390 to 392: table editing; 410 to 419: CPU identification
// and the JTAG link; 420 to 429: flash writing, block checksums and safe
// flashing; 430 to 437: the review's mends).
std::span<const MessageDefault> MessageDefaults();

// Every target of every key, grouped by key in ascending order.
std::span<const TextTarget> TextTargets();

}  // namespace velarix
