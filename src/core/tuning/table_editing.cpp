// The editing operations of the "Sintonización" page on the two tables:
// moving, deleting, copying and pasting rows, dragging one row, the status
// flags and the encryption system of many channels, the satellite swap, the
// channel search and the duplicate groups. Every change of the transponder
// table keeps each channel naming the transponder it named before.
#include "tuning/table_editing.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>

#include "eeprom/hex.h"
#include "tuning/text_forms.h"

namespace velarix {

namespace {

namespace cc = channel_column;
namespace tc = transponder_column;

// The order of the rows 1..last after a move: entry i (from 1) is the old row
// that goes to row i. Entry 0 is unused.
std::vector<int> MovedOrder(RowRange rows, int target, int last) {
    const int s = rows.first, e = rows.last, n = rows.Count();
    std::vector<int> order;
    order.reserve(static_cast<std::size_t>(last) + 1);
    order.push_back(0);
    if (target >= s) {
        for (int r = 1; r < s; ++r) order.push_back(r);
        for (int r = e + 1; r <= e + (target - s); ++r) order.push_back(r);
        for (int r = s; r <= e; ++r) order.push_back(r);
        for (int r = target + n; r <= last; ++r) order.push_back(r);
    } else {
        for (int r = 1; r < target; ++r) order.push_back(r);
        for (int r = s; r <= e; ++r) order.push_back(r);
        for (int r = target; r < s; ++r) order.push_back(r);
        for (int r = e + 1; r <= last; ++r) order.push_back(r);
    }
    return order;
}

// Puts the rows in `order` (entry i the old row for row i): columns 1 to 10
// and the colour move, the row numbers stay.
void Reorder(TableRows& table, const std::vector<int>& order) {
    std::vector<TableRow> old(table.Rows().begin(), table.Rows().end());
    const TableRows::Batch batch(table);
    for (int r = 1; r < static_cast<int>(order.size()); ++r) {
        if (order[r] != r) table.SetRowContents(r, old[order[r]]);
    }
}

// The new row of every old transponder row, from an order as above.
std::vector<int> NewNumbers(const std::vector<int>& order) {
    std::vector<int> numbers(order.size(), 0);
    for (int r = 1; r < static_cast<int>(order.size()); ++r) numbers[order[r]] = r;
    return numbers;
}

// Every channel that names a transponder row (1 to the last) names that
// transponder's new row.
void Renumber(ChannelTables& tables, const std::vector<int>& newNumbers) {
    TableRows& channels = tables.Channels();
    const TableRows::Batch batch(channels);
    for (int r = 1; r < tables.ChannelRows(); ++r) {
        const auto t = DecimalInteger(channels.Cell(r, cc::kTrsp));
        if (t && *t >= 1 && *t < static_cast<int>(newNumbers.size()))
            channels.SetCell(r, cc::kTrsp, QString::number(newNumbers[*t]));
    }
}

// The block start of a move, as "Mover a" corrects it.
MoveResult MoveTarget(RowRange rows, int target, int last) {
    MoveResult result{target, false};
    if (target < 1 || target > last) result = {1, true};
    if (result.target >= rows.first && result.target + (rows.last - rows.first) > last)
        result.target = last - (rows.last - rows.first);
    return result;
}

RowRange Clamped(RowRange rows, int last) {
    rows.first = std::clamp(rows.first, 1, std::max(last, 1));
    rows.last = std::clamp(rows.last, rows.first, std::max(last, 1));
    return rows;
}

// The lines of clipboard text: each ends with CR LF (a text from elsewhere
// may end its lines with LF or CR alone); a last line without an end counts.
QStringList ClipboardLines(const QString& clipboard) {
    static const QRegularExpression ends(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = clipboard.split(ends);
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}

// Writes the fields of each line into rows `row`, `row` + 1, ... from column 0;
// fields past column 10 and lines past the last row are dropped.
void WriteLines(TableRows& table, int row, const QStringList& lines) {
    const TableRows::Batch batch(table);
    for (int i = 0; i < lines.size() && row + i < table.RowCount(); ++i) {
        const QStringList fields = lines[i].split(QLatin1Char('\t'));
        for (int c = 0; c < std::min<qsizetype>(fields.size(), TableRow::kColumns); ++c)
            table.SetCell(row + i, c, fields[c]);
    }
}

std::int64_t Status(const TableRows& channels, int row) {
    return HexToInt(channels.Cell(row, cc::kSta));
}

void SetStatus(TableRows& channels, int row, std::int64_t status) {
    channels.SetCell(row, cc::kSta, HexText(static_cast<std::uint64_t>(status) & 0xFF, 2));
}

QString AsciiCapitals(QString text) {
    for (QChar& c : text) {
        if (c >= QLatin1Char('a') && c <= QLatin1Char('z')) c = QChar(c.unicode() - 'a' + 'A');
    }
    return text;
}

}  // namespace

// ---- Moving

MoveResult MoveChannels(ChannelTables& tables, RowRange rows, int target) {
    const int last = tables.ChannelRows() - 1;
    rows = Clamped(rows, last);
    const MoveResult result = MoveTarget(rows, target, last);
    Reorder(tables.Channels(), MovedOrder(rows, result.target, last));
    tables.RecolorChannelRows();
    return result;
}

MoveResult MoveTransponders(ChannelTables& tables, RowRange rows, int target) {
    const int last = tables.TransponderRows() - 1;
    rows = Clamped(rows, last);
    const MoveResult result = MoveTarget(rows, target, last);
    const std::vector<int> order = MovedOrder(rows, result.target, last);
    Reorder(tables.Transponders(), order);
    Renumber(tables, NewNumbers(order));
    return result;
}

// ---- Deleting

void DeleteChannels(ChannelTables& tables, RowRange rows) {
    TableRows& channels = tables.Channels();
    const int last = tables.ChannelRows() - 1;
    rows = Clamped(rows, last);
    const int n = rows.Count();
    const TableRows::Batch batch(channels);
    for (int r = rows.last + 1; r <= last; ++r) channels.SetRowContents(r - n, channels.Row(r));
    for (int r = last - n + 1; r <= last; ++r) tables.EmptyChannelRow(r);
    tables.RecolorChannelRows();
}

void DeleteTransponders(ChannelTables& tables, RowRange rows) {
    TableRows& channels = tables.Channels();
    TableRows& transponders = tables.Transponders();
    const int last = tables.TransponderRows() - 1;
    rows = Clamped(rows, last);
    const int n = rows.Count();
    const TableRows::Batch channelBatch(channels);
    const TableRows::Batch transponderBatch(transponders);

    // The channels of the deleted transponders go; the others close up.
    int kept = 0;
    for (int r = 1; r < tables.ChannelRows(); ++r) {
        const auto t = DecimalInteger(channels.Cell(r, cc::kTrsp));
        if (t && *t >= rows.first && *t <= rows.last) continue;
        if (++kept != r) channels.SetRowContents(kept, channels.Row(r));
    }
    for (int r = kept + 1; r < tables.ChannelRows(); ++r) tables.EmptyChannelRow(r);
    tables.RecolorChannelRows();

    if (rows.last < last) {
        for (int r = rows.last + 1; r <= last; ++r)
            transponders.SetRowContents(r - n, transponders.Row(r));
        for (int r = 1; r <= kept; ++r) {
            const auto t = DecimalInteger(channels.Cell(r, cc::kTrsp));
            if (t && *t > rows.last) channels.SetCell(r, cc::kTrsp, QString::number(*t - n));
        }
    }
    for (int r = last - n + 1; r <= last; ++r) tables.EmptyTransponderRow(r);
}

// ---- Clipboard

QString CopyRows(const TableRows& grid, RowRange rows) {
    rows = Clamped(rows, grid.RecordCount());
    QString text;
    for (int r = rows.first; r <= rows.last; ++r) {
        for (int c = 0; c < TableRow::kColumns; ++c) text += grid.Cell(r, c) + QLatin1Char('\t');
        text += QLatin1String("\r\n");
    }
    return text;
}

bool PasteChannels(ChannelTables& tables, int row, const QString& clipboard) {
    if (KindOfClipboard(clipboard) != ClipboardKind::ChannelRows) return false;
    TableRows& channels = tables.Channels();
    const int last = tables.ChannelRows() - 1;
    if (row < 1 || row > last) return false;
    const QStringList lines = ClipboardLines(clipboard);
    const int m = static_cast<int>(lines.size());
    const TableRows::Batch batch(channels);
    if (row + m <= last) {
        for (int r = last - m; r >= row; --r) channels.SetRowContents(r + m, channels.Row(r));
    }
    WriteLines(channels, row, lines);
    channels.Renumber(1, last);
    tables.RecolorChannelRows();
    return true;
}

// The used rows from `row` to the first free one move down to make room. A
// row pushed past the end is lost; its channels would otherwise name some
// other transponder's row, so they are given transponder 0 and counted.
TransponderPaste PasteTransponders(ChannelTables& tables, int row, const QString& clipboard) {
    TransponderPaste result;
    if (KindOfClipboard(clipboard) != ClipboardKind::TransponderRows) return result;
    TableRows& transponders = tables.Transponders();
    TableRows& channels = tables.Channels();
    const int last = tables.TransponderRows() - 1;
    if (row < 1 || row > last) return result;
    const QStringList lines = ClipboardLines(clipboard);
    const int m = static_cast<int>(lines.size());
    // Every used row from `row` on moves down, the used rows after a free
    // one too: the pasted lines never take the place of a transponder in use.
    int end = row;
    for (int r = last; r >= row; --r) {
        if (!tables.IsFreeTransponderRow(r)) {
            end = r + 1;
            break;
        }
    }
    const TableRows::Batch transponderBatch(transponders);
    const TableRows::Batch channelBatch(channels);

    // Channel rows by the transponder they name, gathered once.
    QHash<int, std::vector<int>> naming;
    for (int c = 1; c < tables.ChannelRows(); ++c) {
        const auto t = DecimalInteger(channels.Cell(c, cc::kTrsp));
        if (t && *t >= row && *t < end) naming[*t].push_back(c);
    }
    for (int r = end - 1; r >= row; --r) {
        const int to = r + m;
        const QString number = to <= last ? QString::number(to) : QStringLiteral("0");
        if (to <= last) {
            transponders.SetRowContents(to, transponders.Row(r));
        } else {
            result.detached += static_cast<int>(naming.value(r).size());
        }
        for (int c : naming.value(r)) channels.SetCell(c, cc::kTrsp, number);
    }
    WriteLines(transponders, row, lines);
    transponders.Renumber(1, last);
    result.pasted = true;
    return result;
}

// ---- Dragging

void DragChannelRow(ChannelTables& tables, int from, int to) {
    const int last = tables.ChannelRows() - 1;
    if (from < 1 || from > last || to < 1 || to > last || from == to) return;
    Reorder(tables.Channels(), MovedOrder({from, from}, to, last));
    tables.Channels().Renumber(std::min(from, to), std::max(from, to));
}

void DragTransponderRow(ChannelTables& tables, int from, int to) {
    const int last = tables.TransponderRows() - 1;
    if (from < 1 || from > last || to < 1 || to > last || from == to) return;
    const std::vector<int> order = MovedOrder({from, from}, to, last);
    Reorder(tables.Transponders(), order);
    tables.Transponders().Renumber(1, last);
    Renumber(tables, NewNumbers(order));
}

// ---- Status

void SetStatusBit(ChannelTables& tables, RowRange rows, int bit, bool set) {
    TableRows& channels = tables.Channels();
    rows = Clamped(rows, tables.ChannelRows() - 1);
    const TableRows::Batch batch(channels);
    for (int r = rows.first; r <= rows.last; ++r) {
        const std::int64_t status = Status(channels, r);
        SetStatus(channels, r, set ? status | bit : status & ~std::int64_t{bit});
    }
}

void SetEncryption(ChannelTables& tables, RowRange rows, int code) {
    TableRows& channels = tables.Channels();
    rows = Clamped(rows, tables.ChannelRows() - 1);
    const TableRows::Batch batch(channels);
    for (int r = rows.first; r <= rows.last; ++r)
        SetStatus(channels, r, (Status(channels, r) & 0x1F) | ((code & 0x07) * 0x20));
}

std::optional<int> EncryptionOfKey(QChar key) {
    if (key >= QLatin1Char('1') && key <= QLatin1Char('7')) return key.unicode() - u'0';
    if (key == QLatin1Char('8')) return 0;
    return std::nullopt;
}

// ---- Satellites, search, duplicates

void SwapSatellites(ChannelTables& tables, const QString& a, const QString& b) {
    if (a == b) return;
    for (TableRows* table : {&tables.Channels(), &tables.Transponders()}) {
        const TableRows::Batch batch(*table);
        for (int r = 1; r < table->RowCount(); ++r) {
            const QString& sat = table->Cell(r, cc::kSat);
            if (sat == a) {
                table->SetCell(r, cc::kSat, b);
            } else if (sat == b) {
                table->SetCell(r, cc::kSat, a);
            }
        }
    }
}

std::optional<int> FindChannel(const TableRows& channels, int cursorRow, const QString& text) {
    if (text.isEmpty()) return std::nullopt;
    const QString wanted = AsciiCapitals(text);
    for (int r = std::max(cursorRow + 1, 1); r < channels.RowCount(); ++r) {
        if (AsciiCapitals(channels.Cell(r, cc::kName)).contains(wanted)) return r;
    }
    return std::nullopt;
}

namespace {

// Groups of two or more channel rows with the same key, in the order of their
// first rows; rows without a key are left out.
template <typename KeyOf>
std::vector<std::vector<int>> Groups(const ChannelTables& tables, KeyOf keyOf) {
    QHash<QString, std::size_t> index;
    std::vector<std::vector<int>> all;
    for (int r = 1; r < tables.ChannelRows(); ++r) {
        if (tables.IsFreeChannelRow(r)) continue;
        const QString key = keyOf(r);
        if (key.isEmpty()) continue;
        const auto found = index.constFind(key);
        if (found == index.constEnd()) {
            index.insert(key, all.size());
            all.push_back({r});
        } else {
            all[*found].push_back(r);
        }
    }
    std::erase_if(all, [](const std::vector<int>& group) { return group.size() < 2; });
    return all;
}

}  // namespace

std::optional<std::vector<int>> NextDuplicates(const ChannelTables& tables, int from) {
    const TableRows& channels = tables.Channels();
    auto groups = Groups(tables, [&](int r) {
        return channels.Cell(r, cc::kSid) + QLatin1Char('\t') + channels.Cell(r, cc::kTrsp);
    });
    if (groups.empty()) groups = Groups(tables, [&](int r) { return channels.Cell(r, cc::kName); });
    if (groups.empty()) return std::nullopt;
    for (const auto& group : groups) {
        if (group.front() >= from) return group;
    }
    return groups.front();
}

RowRange GatherChannels(ChannelTables& tables, const std::vector<int>& group) {
    const int last = tables.ChannelRows() - 1;
    if (group.empty()) return {1, 1};
    std::vector<bool> follower(static_cast<std::size_t>(last) + 1, false);
    for (std::size_t i = 1; i < group.size(); ++i) follower[group[i]] = true;
    std::vector<int> order{0};
    for (int r = 1; r <= last; ++r) {
        if (follower[r]) continue;
        order.push_back(r);
        if (r == group.front()) {
            for (std::size_t i = 1; i < group.size(); ++i) order.push_back(group[i]);
        }
    }
    Reorder(tables.Channels(), order);
    return {group.front(), group.front() + static_cast<int>(group.size()) - 1};
}

}  // namespace velarix
