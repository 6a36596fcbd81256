// The number fields of the page and of the edit dialogs, and what the channel
// and transponder dialogs show and write back.
#include "tuning/edit_dialogs.h"

#include "eeprom/hex.h"
#include "shell/settings.h"
#include "tuning/text_forms.h"

namespace velarix {

namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

constexpr double kLowestTransponder = 11700000.0;   // kHz: 11.7 GHz
constexpr double kHighestTransponder = 12700000.0;  // kHz: 12.7 GHz

}  // namespace

// ---- Number fields

std::optional<QString> EditedText(const FieldRule& rule, const QString& before,
                                  const QString& after) {
    QString cleaned;
    bool comma = false;
    for (QChar c : after) {
        if (IsDigit(c)) {
            cleaned += c;
        } else if (rule.comma && c == QLatin1Char(',') && !comma) {
            comma = true;
            cleaned += c;
        }
    }
    if (cleaned.size() > rule.maxLength && cleaned.size() > before.size()) return std::nullopt;
    if (cleaned.isEmpty()) return rule.whenEmpty;
    return cleaned;
}

QString TypedText(const FieldRule& rule, const QString& typed) {
    QString text;
    for (QChar c : typed) {
        if (const auto edited = EditedText(rule, text, text + c)) text = *edited;
    }
    return text.isEmpty() ? rule.whenEmpty : text;
}

QString LeftText(const FieldRule& rule, const QString& text) {
    if (rule.limit < 0 || text.isEmpty()) return text;
    bool digits = true;
    for (QChar c : text) digits = digits && IsDigit(c);
    if (!digits) return text;
    bool ok = false;
    const qlonglong value = text.toLongLong(&ok);
    return !ok || value > rule.limit ? rule.aboveLimit : text;
}

FieldRule PositionFieldRule(int channelRows, int gridRowsOnShow) {
    return {false, channelRows > 1000 ? 4 : 3, QStringLiteral("1"), gridRowsOnShow - 1,
            QStringLiteral("1")};
}

FieldRule ChannelFieldRule(int column, int transponderRows) {
    if (column == cc::kTrsp)
        return {false, 3, QStringLiteral("1"), transponderRows - 1, QStringLiteral("1")};
    return {false, 5, QStringLiteral("65535"), 65535, QStringLiteral("65535")};
}

// The transport stream id and the channel count take as many digits as their
// upper limits have, so that every value a record can hold can be typed.
FieldRule TransponderFieldRule(int column) {
    switch (column) {
        case tc::kFrec:
            return {true, 11, QStringLiteral("1"), -1, QString()};
        case tc::kCan:
            return {false, 3, QStringLiteral("0"), 255, QStringLiteral("255")};
        default:  // TRSP, NET
            return {false, 5, QStringLiteral("1"), 65535, QStringLiteral("65535")};
    }
}

QString ClampedTunerFrequency(const QString& field, double lnbMHz) {
    const double lnb = lnbMHz * 1000.0;
    QString text = field;
    double f = DecimalNumber(text).value_or(0.0);
    if (f + lnb > kHighestTransponder) {
        f = kHighestTransponder - lnb;
        text = FrequencyText(f);
    }
    if (f + lnb < kLowestTransponder) text = FrequencyText(kLowestTransponder - lnb);
    return text;
}

QString TransponderFrequencyText(const QString& field, double lnbMHz) {
    const auto f = DecimalNumber(field);
    return f ? FrequencyText(*f + lnbMHz * 1000.0) : QString();
}

// ---- The channel dialog

ChannelDialogValues ChannelDialogOf(const ChannelTables& tables, int row) {
    ChannelDialogValues values;
    for (int i = 0; i < 8; ++i) values.fields[i] = tables.Channels().Cell(row, cc::kName + i);
    values.status = tables.ShowChannelStatus(row);
    return values;
}

std::vector<TableRow> ChannelsSharingTransponder(const ChannelTables& tables, int row) {
    const TableRows& channels = tables.Channels();
    const QString& trsp = channels.Cell(row, cc::kTrsp);
    const auto t = DecimalInteger(trsp);
    std::vector<TableRow> list;
    for (int r = 1; r < tables.ChannelRows(); ++r) {
        const QString& other = channels.Cell(r, cc::kTrsp);
        if (t ? DecimalInteger(other) == t : other == trsp) list.push_back(channels.Row(r));
    }
    return list;
}

DialogTransponder DialogTransponderOf(const ChannelTables& tables, int row) {
    const auto t = DecimalInteger(tables.Channels().Cell(row, cc::kTrsp));
    if (tables.RamMode() || !t || *t < 1 || *t >= tables.TransponderRows()) return {};
    const TableRows& transponders = tables.Transponders();
    return {tables.TransponderFrequency(*t), transponders.Cell(*t, tc::kPol),
            transponders.Cell(*t, tc::kSat)};
}

QString StatusText(const ChannelStatus& s) {
    const int status = (s.active ? 0x04 : 0) | (s.parental ? 0x01 : 0) | (s.favourite ? 0x02 : 0) |
                       (s.radio ? 0x08 : 0) | (s.mono ? 0x10 : 0) | (s.encryption & 0x07) * 0x20;
    return HexText(static_cast<std::uint64_t>(status), 2);
}

ChannelStatus StatusOfByte(int status) {
    ChannelStatus s;
    s.parental = status & 0x01;
    s.favourite = status & 0x02;
    s.active = status & 0x04;
    s.radio = status & 0x08;
    s.mono = status & 0x10;
    s.encryption = (status >> 5) & 0x07;
    return s;
}

void ApplyChannelDialog(ChannelTables& tables, int row, const ChannelDialogValues& values) {
    TableRows& channels = tables.Channels();
    const TableRows::Batch batch(channels);
    for (int i = 0; i < 8; ++i) channels.SetCell(row, cc::kName + i, values.fields[i]);
    channels.SetCell(row, cc::kSta, StatusText(values.status));
    tables.RecolorChannelRow(row);
}

// ---- The transponder dialog

QStringList DialogSatellites(const ChannelTables& tables) {
    const auto& names = tables.TablesSettings().satelliteNames;
    return {names[0], names[1], names[2], names[3]};
}

QStringList DialogSymbolRates(const ChannelTables& tables) {
    QStringList rates;
    for (std::int32_t rate : tables.TablesSettings().symbolRates) {
        if (rate != 0) rates << QString::number(rate);
    }
    return rates;
}

TransponderDialogValues TransponderDialogOf(const ChannelTables& tables, int row) {
    const TableRows& t = tables.Transponders();
    TransponderDialogValues v;
    v.frequency = t.Cell(row, tc::kFrec);
    v.transponderId = t.Cell(row, tc::kTrsp);
    v.networkId = t.Cell(row, tc::kNet);
    v.channels = t.Cell(row, tc::kCan);
    v.fec = t.Cell(row, tc::kFec);
    v.polarity = QLatin1String(t.Cell(row, tc::kPol) == QLatin1String("H") ? "H" : "V");
    v.symbolRate = t.Cell(row, tc::kSr);
    v.tone = QLatin1String(t.Cell(row, tc::kTone) == QLatin1String("On") ? "On" : "Off");
    v.band = QLatin1String(t.Cell(row, tc::kBand) == QLatin1String("Ku") ? "Ku" : "C");
    v.satellite = static_cast<int>(DialogSatellites(tables).indexOf(t.Cell(row, tc::kSat)));
    return v;
}

std::vector<TableRow> ChannelsOfTransponder(const ChannelTables& tables, int row) {
    const QString number = QString::number(row);
    std::vector<TableRow> list;
    for (int r = 1; r < tables.ChannelRows(); ++r) {
        if (tables.Channels().Cell(r, cc::kTrsp) == number)
            list.push_back(tables.Channels().Row(r));
    }
    if (list.empty()) list.emplace_back();
    return list;
}

std::vector<int> ApplyTransponderDialog(ChannelTables& tables, int row,
                                        const TransponderDialogValues& v) {
    TableRows& t = tables.Transponders();
    TableRows& channels = tables.Channels();
    const TableRows::Batch transponderBatch(t);
    const TableRows::Batch channelBatch(channels);
    t.SetCell(row, tc::kFrec, v.frequency);
    t.SetCell(row, tc::kTrsp, v.transponderId);
    t.SetCell(row, tc::kNet, v.networkId);
    t.SetCell(row, tc::kCan, v.channels);
    t.SetCell(row, tc::kFec, v.fec);
    t.SetCell(row, tc::kPol, v.polarity);
    t.SetCell(row, tc::kSr, v.symbolRate);
    t.SetCell(row, tc::kTone, v.tone);
    t.SetCell(row, tc::kBand, v.band);

    std::vector<int> changed;
    const QStringList names = DialogSatellites(tables);
    if (v.satellite < 0 || v.satellite >= names.size()) return changed;  // no name chosen
    const QString& chosen = names[v.satellite];
    if (chosen != t.Cell(row, tc::kSat)) {
        const QString number = QString::number(row);
        for (int r = 1; r < tables.ChannelRows(); ++r) {
            if (channels.Cell(r, cc::kTrsp) != number) continue;
            channels.SetCell(r, cc::kSat, chosen);
            changed.push_back(r);
        }
    }
    t.SetCell(row, tc::kSat, chosen);
    return changed;
}

}  // namespace velarix
