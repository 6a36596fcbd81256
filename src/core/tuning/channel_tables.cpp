// The two tables as rows of texts: records read into rows and rows written
// back into records, free and empty rows, row colours and the panels that
// follow the selected channel.
#include "tuning/channel_tables.h"

#include <cmath>
#include <vector>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "shell/transfer_rate.h"
#include "tuning/text_forms.h"

namespace velarix {

namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

std::uint8_t Byte(const QByteArray& bytes, std::int64_t at) {
    return static_cast<std::uint8_t>(bytes[static_cast<qsizetype>(at)]);
}

std::uint16_t Big16(const QByteArray& bytes, std::int64_t at) {
    return static_cast<std::uint16_t>(Byte(bytes, at) << 8 | Byte(bytes, at + 1));
}

std::uint32_t Big32(const QByteArray& bytes, std::int64_t at) {
    return std::uint32_t{Byte(bytes, at)} << 24 | std::uint32_t{Byte(bytes, at + 1)} << 16 |
           std::uint32_t{Byte(bytes, at + 2)} << 8 | Byte(bytes, at + 3);
}

void PutBig16(char* at, std::uint32_t value) {
    at[0] = static_cast<char>(value >> 8);
    at[1] = static_cast<char>(value);
}

void PutBig32(char* at, std::uint32_t value) {
    for (int i = 0; i < 4; ++i) at[i] = static_cast<char>(value >> (24 - 8 * i));
}

// A record of `size` bytes at `at` lies wholly inside `length` bytes.
bool Fits(std::int64_t at, int size, std::int64_t length) {
    return at >= 0 && at + size <= length;
}

QString NotAnInteger(const QString& text) {
    return Msg(369).replace(QStringLiteral("%s"), text);
}

QString NotANumber(const QString& text) {
    return Msg(370).replace(QStringLiteral("%s"), text);
}

RowColour ColourOf(const QString& vpidText, const QString& apidText) {
    const auto vpid = DecimalInteger(vpidText);
    const auto apid = DecimalInteger(apidText);
    if (vpid == 65535 && apid && *apid != 65535) return kRadioBlue;
    if (vpid == 65535 && apid == 65535) return kDataGreen;
    if (vpid == 0 && apid == 0) return kWhite;
    return kTelevision;
}

// Free: the three texts are all empty, or all exactly "0".
bool AllEmptyOrAllZero(const QString& a, const QString& b, const QString& c) {
    if (a.isEmpty() && b.isEmpty() && c.isEmpty()) return true;
    const QLatin1String zero("0");
    return a == zero && b == zero && c == zero;
}

}  // namespace

ChannelTables::ChannelTables(Settings& settings, QObject* parent)
    : QObject(parent),
      settings_(settings),
      channels_(settings.channelRows),
      transponders_(settings.transponderRows) {
    ApplyHeadings();
}

const QByteArray& ChannelTables::TableImage() const {
    static const QByteArray none;
    return image_ ? *image_ : none;
}

void ChannelTables::SetTableImage(QByteArray bytes) {
    image_ = std::move(bytes);
    emit StateChanged();
}

void ChannelTables::ReleaseTableImage() {
    image_.reset();
    ramMode_ = false;
    emit StateChanged();
    emit TableReleased();
}

QString ChannelTables::SatelliteName(int index) const {
    return index >= 0 && index < 8 ? settings_.satelliteNames[index] : QString();
}

QString ChannelTables::SymbolRateZeroText() const {
    return QString::number(settings_.symbolRates[0]);
}

void ChannelTables::ApplyHeadings() {
    static const int channelKeys[] = {173, 174, 175, 176, 177, 178, 179, 180, 181, 209};
    static const int transponderKeys[] = {184, 185, 186, 187, 188, 189, 190, 191, 210, 209};
    for (int c = 1; c <= 10; ++c) {
        channels_.SetCell(0, c, Msg(channelKeys[c - 1]));
        transponders_.SetCell(0, c, Msg(transponderKeys[c - 1]));
    }
}

// ---- Reading records

void ChannelTables::ParseTransponderRecords(const QByteArray& image, std::int64_t start,
                                            bool append) {
    const int first = append ? FirstFreeTransponderRow() : 1;
    const int rows = TransponderRows();
    if (first > rows - 1) return;
    const TableRows::Batch batch(transponders_);
    for (int r = first; r < rows; ++r) {
        const std::int64_t at = start + std::int64_t{kTransponderRecordSize} * (r - first);
        if (!Fits(at, kTransponderRecordSize, image.size())) {
            EmptyTransponderRow(r);
            continue;
        }
        TableRow row;
        row.cells[tc::kFrec] = FrequencyText(Big32(image, at) / 1000.0);
        row.cells[tc::kTrsp] = QString::number(Big16(image, at + 4));
        row.cells[tc::kNet] = QString::number(Big16(image, at + 6));
        row.cells[tc::kCan] = QString::number(Byte(image, at + 8));
        const int sr = Byte(image, at + 9);
        const std::int32_t rate = sr < 16 ? settings_.symbolRates[sr] : 0;
        row.cells[tc::kSr] = rate != 0 ? QString::number(rate) : HexText(sr, 2);
        const int fec = Byte(image, at + 10);
        row.cells[tc::kFec] = fec < FecTexts().size() ? FecTexts()[fec] : HexText(fec, 2);
        const int flags = Byte(image, at + 11);
        row.cells[tc::kTone] = QLatin1String(flags & 0x01 ? "On" : "Off");
        row.cells[tc::kPol] = QLatin1String(flags & 0x02 ? "H" : "V");
        row.cells[tc::kBand] = QLatin1String(flags & 0x04 ? "C" : "Ku");
        row.cells[tc::kSat] = SatelliteName((flags >> 3) & 0x07);
        transponders_.SetRowContents(r, row);
    }
}

void ChannelTables::ParseChannelRecords(const QByteArray& image, std::int64_t start, bool append,
                                        int firstNewTransponder) {
    const int first = append ? FirstFreeChannelRow() : 1;
    const int rows = ChannelRows();
    detachedByMerge_ = 0;
    if (first > rows - 1) return;
    const TableRows::Batch batch(channels_);
    for (int r = first; r < rows; ++r) {
        const std::int64_t at = start + std::int64_t{kChannelRecordSize} * (r - first);
        if (!Fits(at, kChannelRecordSize, image.size())) {
            EmptyChannelRow(r);
            continue;
        }
        TableRow row;
        const char* name = image.constData() + at;
        int length = 0;
        while (length < 16 && name[length] != '\0') ++length;
        row.cells[cc::kName] = QString::fromLatin1(name, length);
        row.cells[cc::kSta] = HexText(Byte(image, at + 16), 2);
        int transponder = Byte(image, at + 17);
        if (append && transponder != 0) {
            transponder += firstNewTransponder - 1;
            // Its transponder found no free row: the channel keeps none rather
            // than naming a row of the tables' own (or a number past a byte).
            if (transponder > TransponderRows() - 1) {
                transponder = 0;
                ++detachedByMerge_;
            }
        }
        row.cells[cc::kTrsp] = QString::number(transponder);
        row.cells[cc::kSid] = QString::number(Big16(image, at + 18));
        row.cells[cc::kVpid] = QString::number(Big16(image, at + 20));
        row.cells[cc::kApid] = QString::number(Big16(image, at + 22));
        row.cells[cc::kVecm] = QString::number(Big16(image, at + 24));
        row.cells[cc::kAecm] = QString::number(Big16(image, at + 26));
        row.cells[cc::kPcr] = QString::number(Big16(image, at + 28));
        row.colour = ColourOf(row.cells[cc::kVpid], row.cells[cc::kApid]);
        if (ramMode_) {
            row.cells[cc::kSat] = QString();
        } else if (transponder >= 1 && transponder < TransponderRows()) {
            row.cells[cc::kSat] = transponders_.Cell(transponder, tc::kSat);
        } else {
            row.cells[cc::kSat] = SatelliteName(0);
        }
        channels_.SetRowContents(r, row);
    }
}

// ---- Writing records

std::optional<QString> ChannelTables::BuildChannelRecords(QByteArray& buffer,
                                                          std::int64_t start) const {
    struct Numbers {
        std::uint8_t status, transponder;
        std::array<std::uint16_t, 6> pids;
    };
    std::vector<Numbers> records;
    records.reserve(static_cast<std::size_t>(channels_.RecordCount()));
    for (int r = 1; r < ChannelRows(); ++r) {
        Numbers n{};
        n.status = static_cast<std::uint8_t>(HexToInt(channels_.Cell(r, cc::kSta)) & 0xFF);
        const QString& trsp = channels_.Cell(r, cc::kTrsp);
        const auto transponder = DecimalInteger(trsp);
        if (!transponder) return NotAnInteger(trsp);
        n.transponder = static_cast<std::uint8_t>(*transponder & 0xFF);
        for (int i = 0; i < 6; ++i) {
            const QString& text = channels_.Cell(r, cc::kSid + i);
            const auto value = DecimalInteger(text);
            if (!value) return NotAnInteger(text);
            n.pids[i] = static_cast<std::uint16_t>(*value & 0xFFFF);
        }
        records.push_back(n);
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::int64_t at = start + std::int64_t{kChannelRecordSize} * std::int64_t(i);
        if (!Fits(at, kChannelRecordSize, buffer.size())) continue;
        char* record = buffer.data() + at;
        const QByteArray name = channels_.Cell(int(i) + 1, cc::kName).left(16).toLatin1();
        std::fill_n(record, 16, '\0');
        std::copy_n(name.constData(), name.size(), record);
        record[16] = static_cast<char>(records[i].status);
        record[17] = static_cast<char>(records[i].transponder);
        for (int p = 0; p < 6; ++p) PutBig16(record + 18 + 2 * p, records[i].pids[p]);
    }
    return std::nullopt;
}

std::optional<QString> ChannelTables::BuildTransponderRecords(QByteArray& buffer,
                                                              std::int64_t start) const {
    struct Numbers {
        std::uint32_t frequency;
        std::uint16_t tsid, nid;
        std::uint8_t channels, fec, flags;
        std::optional<std::uint8_t> symbolRate;  // none: the buffer keeps its byte
    };
    std::vector<Numbers> records;
    records.reserve(static_cast<std::size_t>(transponders_.RecordCount()));
    for (int r = 1; r < TransponderRows(); ++r) {
        Numbers n{};
        const QString& frec = transponders_.Cell(r, tc::kFrec);
        const auto kHz = DecimalNumber(frec);
        if (!kHz || std::fabs(*kHz) >= 9.0e15) return NotANumber(frec);
        n.frequency = static_cast<std::uint32_t>(RoundHalfEven(*kHz * 1000.0));
        std::array<std::int32_t, 3> numbers{};
        for (int i = 0; i < 3; ++i) {
            const int column = std::array{tc::kTrsp, tc::kNet, tc::kCan}[i];
            const QString& text = transponders_.Cell(r, column);
            const auto value = DecimalInteger(text);
            if (!value) return NotAnInteger(text);
            numbers[i] = *value;
        }
        n.tsid = static_cast<std::uint16_t>(numbers[0] & 0xFFFF);
        n.nid = static_cast<std::uint16_t>(numbers[1] & 0xFFFF);
        n.channels = static_cast<std::uint8_t>(numbers[2] & 0xFF);

        // The symbol rate goes back as the index of its table entry; a rate
        // shown as two hexadecimal digits (an index without an entry) goes back
        // as that index, so that it stays with its transponder wherever the row
        // moved. Any other text leaves the byte the buffer holds.
        const QString& sr = transponders_.Cell(r, tc::kSr);
        if (const auto rate = DecimalInteger(sr)) {
            for (int i = 0; i < 16; ++i) {
                if (settings_.symbolRates[i] == *rate) {
                    n.symbolRate = static_cast<std::uint8_t>(i);
                    break;
                }
            }
        }
        if (!n.symbolRate && IsByteText(sr)) n.symbolRate = static_cast<std::uint8_t>(HexToInt(sr));

        const QString& fec = transponders_.Cell(r, tc::kFec);
        if (fec.size() == 2) {
            n.fec = static_cast<std::uint8_t>(HexToInt(fec) & 0xFF);
        } else {
            const qsizetype code = FecTexts().indexOf(fec);
            n.fec = static_cast<std::uint8_t>(code >= 0 && code < 5 ? code : 5);
        }
        const QString& sat = transponders_.Cell(r, tc::kSat);
        int satellite = 0;
        if (sat == SatelliteName(1)) {
            satellite = 1;
        } else if (sat == SatelliteName(2)) {
            satellite = 2;
        } else if (sat == SatelliteName(3)) {
            satellite = 3;
        }
        n.flags = static_cast<std::uint8_t>(
            (transponders_.Cell(r, tc::kTone) == QLatin1String("On") ? 0x01 : 0) |
            (transponders_.Cell(r, tc::kPol) == QLatin1String("H") ? 0x02 : 0) |
            (transponders_.Cell(r, tc::kBand) == QLatin1String("C") ? 0x04 : 0) | satellite << 3);
        records.push_back(n);
    }
    for (std::size_t i = 0; i < records.size(); ++i) {
        const std::int64_t at = start + std::int64_t{kTransponderRecordSize} * std::int64_t(i);
        if (!Fits(at, kTransponderRecordSize, buffer.size())) continue;
        char* record = buffer.data() + at;
        const Numbers& n = records[i];
        PutBig32(record, n.frequency);
        PutBig16(record + 4, n.tsid);
        PutBig16(record + 6, n.nid);
        record[8] = static_cast<char>(n.channels);
        if (n.symbolRate) record[9] = static_cast<char>(*n.symbolRate);
        record[10] = static_cast<char>(n.fec);
        record[11] = static_cast<char>(n.flags);
    }
    return std::nullopt;
}

// ---- Rows

bool ChannelTables::IsFreeChannelRow(int row) const {
    return AllEmptyOrAllZero(channels_.Cell(row, cc::kTrsp), channels_.Cell(row, cc::kSid),
                             channels_.Cell(row, cc::kVpid));
}

bool ChannelTables::IsFreeTransponderRow(int row) const {
    return AllEmptyOrAllZero(transponders_.Cell(row, tc::kFrec), transponders_.Cell(row, tc::kTrsp),
                             transponders_.Cell(row, tc::kNet));
}

int ChannelTables::FirstFreeChannelRow() const {
    for (int r = 1; r < ChannelRows(); ++r) {
        if (IsFreeChannelRow(r)) return r;
    }
    return ChannelRows();
}

int ChannelTables::FirstFreeTransponderRow() const {
    for (int r = 1; r < TransponderRows(); ++r) {
        if (IsFreeTransponderRow(r)) return r;
    }
    return TransponderRows();
}

void ChannelTables::EmptyChannelRow(int row) {
    TableRow empty;
    for (int c = cc::kTrsp; c <= cc::kSta; ++c) empty.cells[c] = QStringLiteral("0");
    empty.cells[cc::kSat] = SatelliteName(0);
    channels_.SetRowContents(row, empty);
}

void ChannelTables::EmptyTransponderRow(int row) {
    TableRow empty;
    const QString zero = QStringLiteral("0");
    empty.cells[tc::kFrec] = empty.cells[tc::kTrsp] = empty.cells[tc::kNet] = zero;
    empty.cells[tc::kFec] = QStringLiteral("1/2");
    empty.cells[tc::kPol] = QStringLiteral("V");
    empty.cells[tc::kSr] = SymbolRateZeroText();
    empty.cells[tc::kTone] = QStringLiteral("Off");
    empty.cells[tc::kCan] = zero;
    empty.cells[tc::kBand] = QStringLiteral("Ku");
    empty.cells[tc::kSat] = SatelliteName(0);
    transponders_.SetRowContents(row, empty);
}

void ChannelTables::RecolorChannelRows() {
    const TableRows::Batch batch(channels_);
    for (int r = 1; r < ChannelRows(); ++r) {
        channels_.SetColour(r,
                            ColourOf(channels_.Cell(r, cc::kVpid), channels_.Cell(r, cc::kApid)));
    }
}

void ChannelTables::RecolorChannelRow(int row) {
    channels_.SetColour(row,
                        ColourOf(channels_.Cell(row, cc::kVpid), channels_.Cell(row, cc::kApid)));
}

void ChannelTables::ClearTables() {
    for (TableRows* table : {&channels_, &transponders_}) {
        const TableRows::Batch batch(*table);
        for (int r = 1; r < table->RowCount(); ++r) table->SetRowContents(r, TableRow{});
    }
}

// Rows that hold a channel keep it: only the new rows and the free ones from
// the first free row on are made empty rows.
void ChannelTables::ApplyChannelCount() {
    const int before = ChannelRows();
    channels_.SetRowCount(settings_.channelRows);
    if (!HasTable()) return;
    const TableRows::Batch batch(channels_);
    for (int r = FirstFreeChannelRow(); r < ChannelRows(); ++r) {
        if (r >= before || IsFreeChannelRow(r)) EmptyChannelRow(r);
    }
}

void ChannelTables::ApplyTransponderCount() {
    const int before = TransponderRows();
    transponders_.SetRowCount(settings_.transponderRows);
    if (!HasTable() || ramMode_) return;
    const TableRows::Batch batch(transponders_);
    for (int r = FirstFreeTransponderRow(); r < TransponderRows(); ++r) {
        if (r >= before || IsFreeTransponderRow(r)) EmptyTransponderRow(r);
    }
}

void ChannelTables::RenameSatellite(const QString& old, const QString& name) {
    for (TableRows* table : {&channels_, &transponders_}) {
        const TableRows::Batch batch(*table);
        for (int r = 1; r < table->RowCount(); ++r) {
            if (table->Cell(r, cc::kSat) == old) table->SetCell(r, cc::kSat, name);
        }
    }
}

// ---- Panels

double ChannelTables::LnbOf(int row) const {
    const bool tone = transponders_.Cell(row, tc::kTone) == QLatin1String("On");
    return (tone ? settings_.lnbHigh : settings_.lnbLow).toDouble();
}

QString ChannelTables::TransponderFrequency(int row) const {
    const auto frec = DecimalNumber(transponders_.Cell(row, tc::kFrec));
    if (!frec) return QString();
    return FrequencyText(*frec + LnbOf(row) * 1000.0);
}

TransponderInfo ChannelTables::ShowTransponderInfo(int channelRow) const {
    TransponderInfo info;
    info.satellite = channels_.Cell(channelRow, cc::kSat);
    const int t = DecimalInteger(channels_.Cell(channelRow, cc::kTrsp)).value_or(0);
    if (t < 1 || t >= TransponderRows()) return info;
    info.frequency = TransponderFrequency(t);
    info.polarity = transponders_.Cell(t, tc::kPol);
    info.fec = transponders_.Cell(t, tc::kFec);
    info.symbolRate = transponders_.Cell(t, tc::kSr);
    info.channels = transponders_.Cell(t, tc::kCan);
    info.band = transponders_.Cell(t, tc::kBand);
    return info;
}

ChannelStatus ChannelTables::ShowChannelStatus(int channelRow) const {
    const std::int64_t sta = HexToInt(channels_.Cell(channelRow, cc::kSta));
    ChannelStatus status;
    status.parental = sta & 0x01;
    status.favourite = sta & 0x02;
    status.active = sta & 0x04;
    status.radio = sta & 0x08;
    status.mono = sta & 0x10;
    status.encryption = static_cast<int>((sta >> 5) & 0x07);
    return status;
}

ChannelPanels ChannelTables::PanelsFor(int channelRow) const {
    ChannelPanels panels;
    const auto t = DecimalInteger(channels_.Cell(channelRow, cc::kTrsp));
    if (!ramMode_ && t && *t >= 1 && *t < TransponderRows())
        panels.transponder = ShowTransponderInfo(channelRow);
    panels.status = ShowChannelStatus(channelRow);
    return panels;
}

}  // namespace velarix
