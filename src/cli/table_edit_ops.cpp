#include "table_edit_ops.h"

#include <QRegularExpression>

#include "eeprom/hex.h"
#include "shell/message_table.h"
#include "shell/settings.h"
#include "tuning/edit_dialogs.h"
#include "tuning/text_forms.h"

namespace velarix::cli {

namespace {

namespace cc = channel_column;
namespace tc = transponder_column;
using Verb = EditOp::Verb;

// The verbs, how many ':'-separated parts follow each, and whether the
// transponder grid has it.
struct Grammar {
    const char* word;
    Verb verb;
    int parts;
    bool transponders;
};
constexpr Grammar kGrammar[] = {
    {"move", Verb::Move, 2, true},   {"delete", Verb::Delete, 1, true},
    {"cut", Verb::Cut, 1, true},     {"copy", Verb::Copy, 1, true},
    {"paste", Verb::Paste, 1, true}, {"key", Verb::Key, 2, false},
    {"flag", Verb::Flag, 2, false},  {"encryption", Verb::Encryption, 2, false},
    {"set", Verb::Set, 2, true},
};

struct Box {
    const char* word;
    int bit;
};
constexpr Box kBoxes[] = {{"active", status_bit::kActive},
                          {"favourite", status_bit::kFavourite},
                          {"parental", status_bit::kParental},
                          {"radio", status_bit::kRadio},
                          {"mono", status_bit::kMono}};

// The heading keys of the columns 1 to 10 of each grid.
constexpr int kChannelHeadings[] = {173, 174, 175, 176, 177, 178, 179, 180, 181, 209};
constexpr int kTransponderHeadings[] = {184, 185, 186, 187, 188, 189, 190, 191, 210, 209};

std::optional<int> Number(const QString& text) {
    const auto value = DecimalInteger(text);
    return value ? std::optional<int>(*value) : std::nullopt;
}

// A column named by its heading: the Spanish one or the one shown.
std::optional<int> ColumnOf(const QString& name, const TableRows& grid, bool transponders) {
    const int* keys = transponders ? kTransponderHeadings : kChannelHeadings;
    for (int c = 1; c <= 10; ++c) {
        if (name.compare(MessageTable::Spanish(keys[c - 1]), Qt::CaseInsensitive) == 0 ||
            name.compare(grid.Cell(0, c), Qt::CaseInsensitive) == 0) {
            return c;
        }
    }
    return std::nullopt;
}

// "S" or "S-E", within the records of a grid of `rows` rows.
std::optional<QString> ParseRows(const QString& text, int rows, bool single, RowRange& range) {
    const QStringList ends = text.split(QLatin1Char('-'));
    const auto first = Number(ends.value(0));
    const auto last = ends.size() == 2 ? Number(ends[1]) : first;
    if (ends.size() > 2 || (single && ends.size() != 1) || !first || !last) {
        return single ? QStringLiteral("the row must be a row number")
                      : QStringLiteral("the rows must be S or S-E");
    }
    if (*first < 1 || *last < *first || *last > rows - 1)
        return QStringLiteral("rows %1 are not rows 1 to %2 of the grid").arg(text).arg(rows - 1);
    range = {*first, *last};
    return std::nullopt;
}

// "COL=TEXT,COL=TEXT...": a comma belongs to the text unless a column name
// and "=" follow it.
std::optional<QString> ParseFields(const QString& text, const ChannelTables& tables, EditOp& op) {
    static const QRegularExpression word(QStringLiteral("^[A-Za-z0-9]+$"));
    const TableRows& grid = op.transponders ? tables.Transponders() : tables.Channels();
    for (const QString& token : text.split(QLatin1Char(','))) {
        const qsizetype equals = token.indexOf(QLatin1Char('='));
        const QString name = equals > 0 ? token.left(equals) : QString();
        const auto column = name.isEmpty() ? std::nullopt : ColumnOf(name, grid, op.transponders);
        if (column) {
            op.fields.append({*column, token.mid(equals + 1)});
        } else if (!name.isEmpty() && word.match(name).hasMatch()) {
            return QStringLiteral("%1 is no column of the grid").arg(name);
        } else if (op.fields.isEmpty()) {
            return QStringLiteral("the fields must be COL=TEXT,...");
        } else {
            op.fields.last().second += QLatin1Char(',') + token;
        }
    }
    // What the dialog has no field for, and the lists of fixed entries.
    for (const auto& [column, value] : op.fields) {
        if (!op.transponders) {
            if (column == cc::kSat) return QStringLiteral("the channel dialog has no SAT field");
            if (column == cc::kSta && !IsByteText(value.toUpper()))
                return QStringLiteral("STA takes two hexadecimal digits");
            continue;
        }
        if (column == tc::kPol && value != QLatin1String("H") && value != QLatin1String("V"))
            return QStringLiteral("POL is H or V");
        if (column == tc::kTone && value != QLatin1String("On") && value != QLatin1String("Off"))
            return QStringLiteral("22KHz is On or Off");
        const QStringList names = DialogSatellites(tables);
        if (column == tc::kSat && !names.contains(value))
            return QStringLiteral("SAT is one of ") + names.join(QStringLiteral(", "));
    }
    return std::nullopt;
}

std::optional<QString> ParseSwap(const QStringList& parts, EditOp& op) {
    const auto a = Number(parts.value(1)), b = Number(parts.value(2));
    if (parts.size() != 3 || !a || !b || *a < 1 || *a > 4 || *b < 1 || *b > 4)
        return QStringLiteral("swap takes swap:A:B with satellites 1 to 4");
    if (*a == *b) return QStringLiteral("swap needs two different satellites");
    op.verb = Verb::Swap;
    op.number = *a;
    op.second = *b;
    return std::nullopt;
}

std::optional<QString> ParseValue(const QString& arg, EditOp& op) {
    const auto number = Number(arg);
    switch (op.verb) {
        case Verb::Move:
            if (!number) return QStringLiteral("the row to move to is a number");
            break;
        case Verb::Key:
            if (!number || *number < 1 || *number > 8) return QStringLiteral("the key is 1 to 8");
            break;
        case Verb::Encryption:
            if (!number || *number < 0 || *number > 7)
                return QStringLiteral("the encryption is 0 to 7");
            break;
        default:  // a status box
            for (const Box& box : kBoxes) {
                if (arg == QLatin1String(box.word)) op.bit = box.bit;
            }
            if (op.bit == 0)
                return QStringLiteral("the box is active, favourite, parental, radio or mono");
            return std::nullopt;
    }
    op.number = *number;
    return std::nullopt;
}

std::optional<QString> Parse(const QString& text, const ChannelTables& tables, EditOp& op) {
    const QStringList parts = text.split(QLatin1Char(':'));
    if (parts[0] == QLatin1String("swap")) return ParseSwap(parts, op);
    const QString grid = parts[0].section(QLatin1Char('.'), 0, 0);
    const QString word = parts[0].section(QLatin1Char('.'), 1);
    if (grid != QLatin1String("channels") && grid != QLatin1String("transponders"))
        return QStringLiteral("an OP begins with channels., transponders. or swap");
    op.transponders = grid == QLatin1String("transponders");
    const Grammar* grammar = nullptr;
    for (const Grammar& g : kGrammar) {
        if (word == QLatin1String(g.word)) grammar = &g;
    }
    if (!grammar || (op.transponders && !grammar->transponders))
        return QStringLiteral("%1 is no OP").arg(parts[0]);
    if (op.transponders && tables.RamMode())
        return QStringLiteral("a RAM table has no transponder table");
    // The last part takes the rest, ':' and all (a name, a text).
    QStringList args = parts.mid(1);
    if (args.size() > grammar->parts) {
        const QString rest = args.mid(grammar->parts - 1).join(QLatin1Char(':'));
        args = args.mid(0, grammar->parts - 1);
        args << rest;
    }
    if (args.size() != grammar->parts)
        return QStringLiteral("%1 takes %2 parts after its name").arg(parts[0]).arg(grammar->parts);
    op.verb = grammar->verb;

    const int rows = op.transponders ? tables.TransponderRows() : tables.ChannelRows();
    const bool single = op.verb == Verb::Paste || op.verb == Verb::Set;
    if (auto fault = ParseRows(args[0], rows, single, op.rows)) return fault;
    if (grammar->parts == 1) return std::nullopt;
    if (op.verb == Verb::Set) return ParseFields(args[1], tables, op);
    return ParseValue(args[1], op);
}

bool Ticked(const ChannelStatus& s, int bit) {
    switch (bit) {
        case status_bit::kParental:
            return s.parental;
        case status_bit::kFavourite:
            return s.favourite;
        case status_bit::kActive:
            return s.active;
        case status_bit::kRadio:
            return s.radio;
        default:
            return s.mono;
    }
}

// The channel dialog: each field typed into after selecting what it holds,
// then left; then "Ok".
void SetChannel(ChannelTables& tables, const EditOp& op) {
    const int row = op.rows.first;
    ChannelDialogValues values = ChannelDialogOf(tables, row);
    for (const auto& [column, text] : op.fields) {
        if (column == cc::kName) {
            values.fields[0] = text.left(16);  // the name field takes 16 characters
        } else if (column == cc::kSta) {
            values.status = StatusOfByte(static_cast<int>(HexToInt(text.toUpper())));
        } else {
            const FieldRule rule = ChannelFieldRule(column, tables.TransponderRows());
            values.fields[column - cc::kName] = LeftText(rule, TypedText(rule, text));
        }
    }
    ApplyChannelDialog(tables, row, values);
}

// The transponder dialog likewise.
void SetTransponder(ChannelTables& tables, const EditOp& op) {
    const int row = op.rows.first;
    TransponderDialogValues v = TransponderDialogOf(tables, row);
    for (const auto& [column, text] : op.fields) {
        switch (column) {
            case tc::kFrec:
                v.frequency = ClampedTunerFrequency(
                    TypedText(TransponderFieldRule(tc::kFrec), text), tables.LnbOf(row));
                break;
            case tc::kTrsp:
            case tc::kNet:
            case tc::kCan: {
                const FieldRule rule = TransponderFieldRule(column);
                QString& field = column == tc::kTrsp  ? v.transponderId
                                 : column == tc::kNet ? v.networkId
                                                      : v.channels;
                field = LeftText(rule, TypedText(rule, text));
                break;
            }
            case tc::kFec:
                v.fec = text;
                break;
            case tc::kPol:
                v.polarity = text;
                break;
            case tc::kSr:
                v.symbolRate = text;
                break;
            case tc::kTone:
                v.tone = text;
                break;
            case tc::kBand:
                v.band = text;
                break;
            default:  // SAT
                v.satellite = static_cast<int>(DialogSatellites(tables).indexOf(text));
                break;
        }
    }
    ApplyTransponderDialog(tables, row, v);
}

}  // namespace

std::variant<EditOp, QString> ParseEditOp(const QString& text, const ChannelTables& tables) {
    EditOp op;
    op.text = text;
    if (auto fault = Parse(text, tables, op)) return text + QStringLiteral(": ") + *fault;
    return op;
}

std::optional<QString> ApplyEditOp(const EditOp& op, EditSession& session, QTextStream& log) {
    ChannelTables& tables = session.tables;
    const bool t = op.transponders;
    switch (op.verb) {
        case Verb::Move:
            if (t) {
                MoveTransponders(tables, op.rows, op.number);
            } else {
                MoveChannels(tables, op.rows, op.number);
            }
            break;
        case Verb::Cut:
        case Verb::Copy:
            session.clipboard = CopyRows(t ? tables.Transponders() : tables.Channels(), op.rows);
            if (op.verb == Verb::Copy) break;
            [[fallthrough]];
        case Verb::Delete:
            if (t) {
                DeleteTransponders(tables, op.rows);
            } else {
                DeleteChannels(tables, op.rows);
            }
            break;
        case Verb::Paste: {
            bool pasted = false;
            if (t) {
                const TransponderPaste paste =
                    PasteTransponders(tables, op.rows.first, session.clipboard);
                pasted = paste.pasted;
                if (paste.detached > 0) log << Msg(392).arg(paste.detached) << Qt::endl;
            } else {
                pasted = PasteChannels(tables, op.rows.first, session.clipboard);
            }
            if (!pasted) {
                return op.text +
                       QStringLiteral(": nothing to paste: no %1 rows were copied")
                           .arg(t ? QStringLiteral("transponder") : QStringLiteral("channel"));
            }
            break;
        }
        case Verb::Key:
            SetEncryption(tables, op.rows, *EncryptionOfKey(QChar(u'0' + op.number)));
            break;
        case Verb::Flag:
            SetStatusBit(tables, op.rows, op.bit,
                         !Ticked(tables.ShowChannelStatus(op.rows.first), op.bit));
            break;
        case Verb::Encryption:
            SetEncryption(tables, op.rows, op.number);
            break;
        case Verb::Set:
            if (t) {
                SetTransponder(tables, op);
            } else {
                SetChannel(tables, op);
            }
            break;
        case Verb::Swap: {
            const auto& names = tables.TablesSettings().satellites;
            SwapSatellites(tables, names[op.number - 1], names[op.second - 1]);
            break;
        }
    }
    return std::nullopt;
}

}  // namespace velarix::cli
