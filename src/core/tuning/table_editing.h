#pragma once

#include <QChar>
#include <QString>
#include <optional>
#include <vector>

#include "tuning/channel_tables.h"

namespace velarix {

// The rows first..last of a grid's selection (first <= last): the top row is
// the cursor row. Every editing operation works on such a range.
struct RowRange {
    int first = 1;
    int last = 1;
    int Count() const { return last - first + 1; }
    bool operator==(const RowRange&) const = default;
};

// The bits of a channel's status byte that the five boxes show.
namespace status_bit {
inline constexpr int kParental = 0x01, kFavourite = 0x02, kActive = 0x04, kRadio = 0x08,
                     kMono = 0x10;
}

// "Mover a": the block of selected rows goes to start at row `target` (the
// position field's value), the rows in between close up. A target outside
// the records becomes 1 and the field is to show "1"; a block that would pass
// the end starts as low as it has to. Moving transponders keeps every channel
// naming the same transponder.
struct MoveResult {
    int target = 1;           // the row the block starts at
    bool fieldReset = false;  // the position field is to show "1"
};
MoveResult MoveChannels(ChannelTables& tables, RowRange rows, int target);
MoveResult MoveTransponders(ChannelTables& tables, RowRange rows, int target);

// "Borrar": the rows after the selection move up, the last rows of the table
// become empty rows. Deleting transponders deletes their channels too, and
// the channels of the transponders that moved up follow them.
void DeleteChannels(ChannelTables& tables, RowRange rows);
void DeleteTransponders(ChannelTables& tables, RowRange rows);

// "Copiar": for each row the texts of columns 0 to 10, each followed by a TAB,
// then CR LF.
QString CopyRows(const TableRows& grid, RowRange rows);

// "Pegar" at row `row`: the rows on the clipboard are put in at that row and
// the rows from there move down to make room. Nothing happens (false) unless
// the clipboard holds rows of the grid's kind.
bool PasteChannels(ChannelTables& tables, int row, const QString& clipboard);
struct TransponderPaste {
    bool pasted = false;
    // Channels whose transponder was pushed past the end of the table: they
    // were given transponder 0 (none).
    int detached = 0;
};
TransponderPaste PasteTransponders(ChannelTables& tables, int row, const QString& clipboard);

// A row dragged in a grid from row `from` to row `to`: the rows between shift
// by one towards `from`. Channels follow a dragged transponder.
void DragChannelRow(ChannelTables& tables, int from, int to);
void DragTransponderRow(ChannelTables& tables, int from, int to);

// A status box clicked: `bit` becomes set (`set`) or cleared in every
// selected channel's STA.
void SetStatusBit(ChannelTables& tables, RowRange rows, int bit, bool set);
// The "Encriptación :" list at position `code`: bits 5 to 7 of every selected
// channel's STA, the other bits kept.
void SetEncryption(ChannelTables& tables, RowRange rows, int code);
// The encryption system a key typed in the channel grid chooses: "1" to "7"
// the codes 1 to 7, "8" code 0; none for any other key.
std::optional<int> EncryptionOfKey(QChar key);

// "Intercambiar...": every channel row and then every transponder row whose
// SAT reads `a` gets `b`, and every one that reads `b` gets `a`.
void SwapSatellites(ChannelTables& tables, const QString& a, const QString& b);

// "Buscar": the first channel row after `cursorRow` whose name contains
// `text`, the letters a to z compared as capitals; none when no row does.
std::optional<int> FindChannel(const TableRows& channels, int cursorRow, const QString& text);

// "Duplicados": the next group of channels (two or more, in table order) that
// share SID and transponder, or, when no channels do, the same name; free
// rows and empty names are left out. The group whose first channel lies at or
// after `from` comes first, else the first group of the table.
std::optional<std::vector<int>> NextDuplicates(const ChannelTables& tables, int from);
// Brings the channels of a group together: the others move up to follow the
// first one, the rows in between close up after them. The rows they now fill.
RowRange GatherChannels(ChannelTables& tables, const std::vector<int>& group);

}  // namespace velarix
