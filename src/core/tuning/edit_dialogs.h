#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "tuning/channel_tables.h"

namespace velarix {

// ---- Number fields

// How a number field of the page or of an edit dialog takes what is typed or
// pasted, and what it corrects when the focus leaves it.
struct FieldRule {
    bool comma = false;       // one "," is taken besides the digits
    int maxLength = 5;        // characters a person may type
    QString whenEmpty;        // shown at once when the field is emptied
    std::int64_t limit = -1;  // on leaving, a value above it (none when -1)...
    QString aboveLimit;       // ...becomes this text
};

// An edit of a field's text from `before` to `after`: every character the
// field does not take is removed at once, an emptied field shows its text
// for empty. None when the edit would make the text longer than the field
// takes (the keystroke is refused; a longer text put there by the program
// may still be shortened).
std::optional<QString> EditedText(const FieldRule& rule, const QString& before,
                                  const QString& after);
// `typed` typed into the field after selecting all its text, one character
// at a time.
QString TypedText(const FieldRule& rule, const QString& typed);
// The field's text once the focus leaves it.
QString LeftText(const FieldRule& rule, const QString& text);

// The position field after "Mover a" (`Edit6`): 3 characters, 4 while the
// channel grid has more than 1000 rows; a value not less than the row count
// of the grid on show becomes "1" on leaving.
FieldRule PositionFieldRule(int channelRows, int gridRowsOnShow);

// The channel dialog's `Edit2` (TRSP) to `Edit8` (PCR), by channel column.
FieldRule ChannelFieldRule(int column, int transponderRows);
// The transponder dialog's number fields, by transponder column: FREC
// (`Edit9`), TRSP (`Edit2`), NET (`Edit3`), CAN (`Edit4`).
FieldRule TransponderFieldRule(int column);

// The tuner frequency field on leaving: the transponder frequency it gives
// with the LNB (MHz) is kept within 11.7 GHz to 12.7 GHz.
QString ClampedTunerFrequency(const QString& field, double lnbMHz);
// FREC plus the LNB, as the transponder-frequency label shows it.
QString TransponderFrequencyText(const QString& field, double lnbMHz);

// ---- The channel dialog (TForm2)

struct ChannelDialogValues {
    // NOMBRE, TRSP, SID, VPID, APID, VECM, AECM, PCR: `Edit1` to `Edit8`.
    std::array<QString, 8> fields;
    ChannelStatus status;
    bool operator==(const ChannelDialogValues&) const = default;
};
// The " Información del transpondedor : " values.
struct DialogTransponder {
    QString frequency, polarity, satellite;
    bool operator==(const DialogTransponder&) const = default;
};

ChannelDialogValues ChannelDialogOf(const ChannelTables& tables, int row);
// Every channel row whose TRSP, as a number, is that of channel row `row`.
std::vector<TableRow> ChannelsSharingTransponder(const ChannelTables& tables, int row);
// Empty values for a RAM table or a channel without a transponder row.
DialogTransponder DialogTransponderOf(const ChannelTables& tables, int row);
// The STA text of the boxes and the encryption list, and the boxes and the
// list a status byte shows.
QString StatusText(const ChannelStatus& status);
ChannelStatus StatusOfByte(int status);
// "Ok": the fields go to columns 1 to 8, the status to STA, the row takes
// the colour of its new VPID and APID.
void ApplyChannelDialog(ChannelTables& tables, int row, const ChannelDialogValues& values);

// ---- The transponder dialog (TForm3)

struct TransponderDialogValues {
    QString frequency;      // `Edit9`
    QString transponderId;  // `Edit2`
    QString networkId;      // `Edit3`
    QString channels;       // `Edit4`
    QString fec;            // `ComboBox3`
    QString polarity;       // `ComboBox1`: "H" or "V"
    QString symbolRate;     // `ComboBox4`
    QString tone;           // `ComboBox2`: "On" or "Off"
    QString band;           // `ComboBox6`
    int satellite = -1;     // `ComboBox5`: 0 to 3, -1 when no name is chosen
    bool operator==(const TransponderDialogValues&) const = default;
};

TransponderDialogValues TransponderDialogOf(const ChannelTables& tables, int row);
// The entries of `ComboBox5` (the first four satellite names) and `ComboBox4`
// (the non-zero symbol rates in table order).
QStringList DialogSatellites(const ChannelTables& tables);
QStringList DialogSymbolRates(const ChannelTables& tables);
// Every channel row whose TRSP text is `row` as decimal text; one empty row
// when there is none.
std::vector<TableRow> ChannelsOfTransponder(const ChannelTables& tables, int row);
// "Ok": every field to its column of row `row`, the band too; a satellite
// chosen other than the row's goes to the SAT of the listed channels first.
// The channel rows whose SAT changed.
std::vector<int> ApplyTransponderDialog(ChannelTables& tables, int row,
                                        const TransponderDialogValues& values);

}  // namespace velarix
