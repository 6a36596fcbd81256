#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>
#include <cstdint>
#include <optional>
#include <variant>

#include "tuning/table_rows.h"

namespace velarix {

class OperationFrame;
struct Settings;

inline constexpr int kChannelRecordSize = 30;
inline constexpr int kTransponderRecordSize = 12;
inline constexpr int kSectionHeaderSize = 68;  // records start 68 bytes after the section
inline constexpr std::int64_t kBlockSize = 0x10000;

// What "Leer archivo..." reads a file as: the first or the second file type.
enum class TableKind { FlashImage, RamTable };

// What LoadSections found.
enum class SectionsResult { Loaded = 0, NoChannelSection = 1, NoTransponderSection = 2 };

// The transponder panel (" Transpondedor ") of a channel: its seven values.
struct TransponderInfo {
    QString satellite, frequency, polarity, fec, symbolRate, channels, band;
    bool operator==(const TransponderInfo&) const = default;
};

// The status panel (" Status "): the five boxes and the encryption system.
struct ChannelStatus {
    bool parental = false, favourite = false, active = false, radio = false, mono = false;
    int encryption = 0;  // 0 to 7, the position in the "Encriptación :" list
    bool operator==(const ChannelStatus&) const = default;
};

// Both panels for a selected channel row: the transponder panel is filled
// when the channel names a transponder of a flash table, else emptied.
struct ChannelPanels {
    std::optional<TransponderInfo> transponder;
    ChannelStatus status;
};

// Where a section of a flash image lies: the 64 KiB block that holds it and
// its position inside the block.
struct SectionPlace {
    std::int64_t block = 0;
    std::int64_t offset = 0;
    std::int64_t Start() const { return block + offset; }
    std::int64_t Records() const { return Start() + kSectionHeaderSize; }
    bool operator==(const SectionPlace&) const = default;
};

// The channel table and the transponder table of the "Sintonización" page,
// with the table image they were read from. The window owns one and hands it
// to every page that reads or sends a table; the command line makes its own.
//
// The tables are rows of texts (TableRows); sizes, satellite names, LNB
// frequencies, the symbol-rate table and the two position lists come from the
// settings, which the object reads each time it needs them.
class ChannelTables : public QObject {
    Q_OBJECT
public:
    explicit ChannelTables(Settings& settings, QObject* parent = nullptr);

    TableRows& Channels() { return channels_; }
    TableRows& Transponders() { return transponders_; }
    const TableRows& Channels() const { return channels_; }
    const TableRows& Transponders() const { return transponders_; }
    int ChannelRows() const { return channels_.RowCount(); }
    int TransponderRows() const { return transponders_.RowCount(); }

    // ---- The loaded table

    // Whether a table image is held (a table is loaded).
    bool HasTable() const { return image_.has_value(); }
    // The bytes of the loaded table file or read-out; empty when none is held.
    const QByteArray& TableImage() const;
    // True while the loaded table is a RAM channel table.
    bool RamMode() const { return ramMode_; }
    SectionPlace ChannelSection() const { return tcs_; }
    SectionPlace TransponderSection() const { return tpt_; }
    // The texts after "Canales (TCS) :" and "Transp. (TPT) :".
    QString ChannelSectionLabel() const { return tcsLabel_; }
    QString TransponderSectionLabel() const { return tptLabel_; }

    // Holds `bytes` as the table image, without reading it.
    void SetTableImage(QByteArray bytes);
    // Releases the table image: no table is loaded.
    void ReleaseTableImage();

    // Finds the channel and transponder sections of a flash image (asking the
    // person through `frame` which one when a tag is found in several blocks)
    // and reads their records into the grids; with `append` the records fill
    // the free rows after the tables' own (a merge). On failure the grids are
    // left as they were.
    SectionsResult LoadSections(const QByteArray& image, bool append, OperationFrame& frame);
    // Reads the table image as a RAM channel table.
    void LoadRamTable();

    // "Leer archivo...": holds `bytes` as the table image and reads it as
    // `kind`. A flash image of 65536 bytes or less, or one without both
    // sections, is refused with its error box; the image is then released and
    // the tables emptied. True when a table was loaded.
    bool LoadTable(QByteArray bytes, TableKind kind, OperationFrame& frame);
    // "Añadir archivo...": appends the tables of another flash image; its
    // sections' positions are not kept. False (after the error box) when the
    // image holds no table; the tables are then unchanged.
    bool MergeTable(const QByteArray& bytes, OperationFrame& frame);

    // ---- Records

    void ParseTransponderRecords(const QByteArray& image, std::int64_t start, bool append);
    void ParseChannelRecords(const QByteArray& image, std::int64_t start, bool append,
                             int firstNewTransponder);
    // Writes one record per row into `buffer` from `start`; records that would
    // pass the end of the buffer are not written. A numeric cell that is not a
    // number stops the build before anything is written: the message to show.
    std::optional<QString> BuildChannelRecords(QByteArray& buffer, std::int64_t start) const;
    std::optional<QString> BuildTransponderRecords(QByteArray& buffer, std::int64_t start) const;

    // Writes the tables back into the table image at the blocks chosen in the
    // "Posición TCS :" and "Posición TPT :" lists (moving a section there when
    // its block changed) and wipes every other section. Nothing changes and
    // the message to show is returned when a cell is not a number, or when a
    // moved section would not fit inside the image.
    std::optional<QString> RebuildImage();
    // The table image made ready to be written or sent: RebuildImage for a
    // flash image; for a RAM table the channel records built over its start.
    std::optional<QString> PrepareImage();
    // The FLASH channel table to send to the decoder: the rebuilt table image,
    // or the message to show (no table loaded, a RAM table, a cell that is
    // not a number, a section that does not fit).
    std::variant<QByteArray, QString> FlashImageToSend();
    // The RAM channel table to write into the decoder's RAM: `size` bytes,
    // the channel records from offset 0 over the bytes the table was loaded
    // with; the message to show when no RAM table is loaded or a cell is not
    // a number.
    std::variant<QByteArray, QString> RamImageToSend(int size) const;

    // ---- Rows

    int FirstFreeChannelRow() const;
    int FirstFreeTransponderRow() const;
    bool IsFreeChannelRow(int row) const;
    bool IsFreeTransponderRow(int row) const;
    void EmptyChannelRow(int row);
    void EmptyTransponderRow(int row);
    void RecolorChannelRows();
    // The colour of one channel row from its VPID and APID.
    void RecolorChannelRow(int row);
    // Every record row emptied (all texts), channel rows white.
    void ClearTables();
    // The grids take the row counts of the settings; with a table loaded the
    // rows that are new or free from the first free one on become empty rows.
    void ApplyChannelCount();
    void ApplyTransponderCount();
    // Every SAT cell of both grids that reads `old` reads `name` after.
    void RenameSatellite(const QString& old, const QString& name);

    // ---- Panels

    TransponderInfo ShowTransponderInfo(int channelRow) const;
    ChannelStatus ShowChannelStatus(int channelRow) const;
    // The panels for a selected channel row while a table is loaded.
    ChannelPanels PanelsFor(int channelRow) const;
    // The transponder frequency shown for transponder row `row`: FREC plus the
    // LNB of its 22 kHz tone; empty when FREC is not a number.
    QString TransponderFrequency(int row) const;
    // The LNB frequency (MHz) of transponder row `row`: "Frec. LNB Alto" when
    // its 22 kHz tone is "On", else "Frec. LNB Bajo".
    double LnbOf(int row) const;

    // The settings the tables read their sizes and names from.
    const Settings& TablesSettings() const { return settings_; }

    // The headings of both grids from the message table.
    void ApplyHeadings();

signals:
    // The image, the section places, their labels or the RAM mode changed.
    void StateChanged();
    // A table was read into the grids from a flash image (LoadSections without
    // append) or as a RAM table (LoadRamTable): the page enables its editing.
    void TableLoaded(TableKind kind);
    // The table image was released: the page disables its editing.
    void TableReleased();
    // The section places moved the position lists of the settings.
    void PositionsChosen();

private:
    std::int64_t ChosenBlock(int position, std::int64_t current) const;
    // Channels of the last merge whose transponder did not fit.
    int detachedByMerge_ = 0;
    void SetPlaces(SectionPlace tcs, SectionPlace tpt);
    void ShowPositionsInLists();
    QString SatelliteName(int index) const;
    QString SymbolRateZeroText() const;

    Settings& settings_;
    TableRows channels_;
    TableRows transponders_;
    std::optional<QByteArray> image_;
    bool ramMode_ = false;
    SectionPlace tcs_, tpt_;
    QString tcsLabel_, tptLabel_;
};

// The position label of a section: its block as two hexadecimal digits, then
// in brackets the block start, or the position of its tag field for a section
// inside a block, as six digits ("05 (050000)", "07 (070040)").
QString SectionLabel(const SectionPlace& place);

}  // namespace velarix
