#include "table_commands.h"

#include "eeprom/hex.h"
#include "output_file.h"
#include "shell/config_rules.h"
#include "shell/message_table.h"
#include "shell/whole_file.h"
#include "table_edit_ops.h"
#include "text_frame.h"
#include "tuning/table_files.h"

namespace velarix::cli {

namespace {

struct TableArgs {
    QString in, out;
    bool ram = false;
    bool transponders = false;  // the grid on show
    QStringList merges, sections;
    std::optional<int> tcs, tpt;  // positions in the lists
};

QStringList TakeAll(CliContext& context, const QString& name) {
    QStringList values;
    while (const auto value = context.TakeOption(name)) values << *value;
    return values;
}

// A block start of the position lists ("00000" .. "1F0000") as its position.
std::optional<int> ListPosition(const QString& text) {
    const std::int64_t value = HexToInt(text.toUpper());
    if (value < 0 || value % 0x10000 != 0) return std::nullopt;
    const std::int64_t position = value / 0x10000;
    if (position >= TablePositionEntries().size()) return std::nullopt;
    return static_cast<int>(position);
}

// With `ops`, the arguments left are the OPs of `tables edit`.
std::optional<QString> TakeTableArgs(CliContext& context, TableArgs& args, bool save,
                                     QStringList* ops = nullptr) {
    const auto in = context.TakeOption("-i");
    const auto out = context.TakeOption("-o");
    const auto grid = context.TakeOption("--grid");
    args.ram = context.TakeFlag("--ram");
    if (!in || !out) return QStringLiteral("tables needs -i FILE and -o FILE");
    args.in = *in;
    args.out = *out;
    if (grid) {
        if (*grid != QLatin1String("channels") && *grid != QLatin1String("transponders"))
            return QStringLiteral("--grid takes channels or transponders");
        args.transponders = *grid == QLatin1String("transponders");
        if (args.transponders && args.ram)
            return QStringLiteral("a RAM table has no transponder grid");
    }
    args.sections = TakeAll(context, "--section");
    if (save) {
        args.merges = TakeAll(context, "--merge");
        for (const char* name : {"--tcs", "--tpt"}) {
            const auto text = context.TakeOption(QString::fromLatin1(name));
            if (!text) continue;
            const auto position = ListPosition(*text);
            if (!position) {
                return QString::fromLatin1(name) +
                       QStringLiteral(" takes a block start from 00000 to 1F0000");
            }
            (name[3] == 'c' ? args.tcs : args.tpt) = position;
        }
        if (args.ram && !args.merges.isEmpty())
            return QStringLiteral("--merge needs a flash image, not --ram");
    }
    if (ops) {
        if (const QString option = context.LeftoverOption(); !option.isEmpty())
            return QStringLiteral("unknown option: ") + option;
        *ops = context.Rest();
        if (ops->isEmpty()) return QStringLiteral("tables edit needs at least one OP");
        return std::nullopt;
    }
    if (!context.Rest().isEmpty())
        return QStringLiteral("unexpected argument: ") + context.Rest().first();
    return std::nullopt;
}

// The section chooser answered by the --section values, in order; without
// one the first section listed is taken, as the chooser opens on it.
class ChooserFrame : public TextFrame {
public:
    ChooserFrame(QTextStream& err, QStringList answers)
        : TextFrame(err, {}, false), err_(err), answers_(std::move(answers)) {}

    int ChooseFromList(const QString&, const QString& prompt, const QStringList& choices) override {
        QStringList addresses;
        for (const QString& choice : choices) addresses << choice.section(QLatin1Char('\t'), 0, 0);
        err_ << prompt << addresses.join(QLatin1Char(' ')) << Qt::endl;
        if (answers_.isEmpty()) return 0;
        const QString wanted = answers_.takeFirst();
        const std::int64_t value = HexToInt(wanted.toUpper());
        for (int i = 0; i < addresses.size(); ++i) {
            if (value >= 0 && HexToInt(addresses[i]) == value) return i;
        }
        refused_ = QStringLiteral("--section ") + wanted + QStringLiteral(" is not one of ") +
                   addresses.join(QStringLiteral(", "));
        return 0;
    }
    // A --section that named no listed section, or that no question used.
    std::optional<QString> Refused() const {
        if (!refused_.isEmpty()) return refused_;
        if (!answers_.isEmpty())
            return QStringLiteral("--section ") + answers_.first() +
                   QStringLiteral(" answers no question");
        return std::nullopt;
    }

private:
    QTextStream& err_;
    QStringList answers_;
    QString refused_;
};

std::optional<QByteArray> ReadInput(CliContext& context, const QString& path) {
    const FileRead file = ReadWholeFile(path);
    if (file.ok()) return file.bytes;
    context.err() << Msg(200) << '\n' << file.error << Qt::endl;
    return std::nullopt;
}

// -i and every --merge, as "Leer archivo..." and "Añadir archivo..." do; a
// usage status when an input is refused.
std::optional<int> LoadTables(CliContext& context, const TableArgs& args, ChannelTables& tables,
                              ChooserFrame& frame) {
    const auto bytes = ReadInput(context, args.in);
    if (!bytes) return kBadUsage;
    const TableKind kind = args.ram ? TableKind::RamTable : TableKind::FlashImage;
    if (!tables.LoadTable(*bytes, kind, frame)) return kBadUsage;
    for (const QString& merge : args.merges) {
        const auto added = ReadInput(context, merge);
        if (!added) return kBadUsage;
        if (!tables.MergeTable(*added, frame)) return kBadUsage;
    }
    if (const auto refused = frame.Refused()) return context.BadUsage(*refused);
    return std::nullopt;
}

int Save(CliContext& context, ChannelTables& tables, const QString& path, SaveKind kind,
         bool transponders) {
    const TableRows& grid = transponders ? tables.Transponders() : tables.Channels();
    // "-o -" is standard output, as for the other commands.
    return WriteOutputThrough(context, path, [&](const QString& target) -> std::optional<QString> {
        if (const auto error = SaveTables(tables, target, kind, grid, HtmlStyle{}))
            return DisplayedText(*error);
        return std::nullopt;
    });
}

// The person picks a position; the other list's position stays apart from it.
// Picking the position the list already shows changes nothing, as on the page.
void ChoosePosition(CliContext& context, int& changed, int& other, int position, int caption) {
    if (position == changed) return;
    changed = KeepApart(position, other);
    if (changed != position)
        context.err() << Msg(caption) << ' ' << TablePositionEntries()[changed] << Qt::endl;
}

// The list positions chosen with --tcs and --tpt.
void ChoosePositions(CliContext& context, const TableArgs& args) {
    Settings& s = context.settings;
    if (args.tcs) ChoosePosition(context, s.tcs, s.tpt, *args.tcs, 136);
    if (args.tpt) ChoosePosition(context, s.tpt, s.tcs, *args.tpt, 137);
}

}  // namespace

int TablesExport(CliContext& context) {
    TableArgs args;
    const auto format = context.TakeOption("--format");
    if (const auto fault = TakeTableArgs(context, args, false)) return context.BadUsage(*fault);
    if (!format || (*format != QLatin1String("text") && *format != QLatin1String("html")))
        return context.BadUsage(QStringLiteral("tables export needs --format text or html"));
    ChannelTables tables(context.settings);
    ChooserFrame frame(context.err(), args.sections);
    if (const auto status = LoadTables(context, args, tables, frame)) return *status;
    return Save(context, tables, args.out,
                *format == QLatin1String("text") ? SaveKind::Text : SaveKind::Html,
                args.transponders);
}

int TablesSave(CliContext& context) {
    TableArgs args;
    if (const auto fault = TakeTableArgs(context, args, true)) return context.BadUsage(*fault);
    ChannelTables tables(context.settings);
    ChooserFrame frame(context.err(), args.sections);
    if (const auto status = LoadTables(context, args, tables, frame)) return *status;
    ChoosePositions(context, args);
    return Save(context, tables, args.out, SaveKindOfFileName(args.out), args.transponders);
}

// Every OP is read against the loaded tables before any is applied; an OP
// the page would not do stops the command before anything is written.
int TablesEdit(CliContext& context) {
    TableArgs args;
    QStringList texts;
    if (const auto fault = TakeTableArgs(context, args, true, &texts))
        return context.BadUsage(*fault);
    ChannelTables tables(context.settings);
    ChooserFrame frame(context.err(), args.sections);
    if (const auto status = LoadTables(context, args, tables, frame)) return *status;
    std::vector<EditOp> ops;
    for (const QString& text : texts) {
        auto op = ParseEditOp(text, tables);
        if (auto* fault = std::get_if<QString>(&op)) return context.BadUsage(*fault);
        ops.push_back(std::get<EditOp>(std::move(op)));
    }
    EditSession session{tables, QString()};
    for (const EditOp& op : ops) {
        if (const auto refused = ApplyEditOp(op, session, context.err()))
            return context.BadUsage(*refused);
    }
    ChoosePositions(context, args);
    return Save(context, tables, args.out, SaveKindOfFileName(args.out), args.transponders);
}

std::optional<QString> SaveReadOutTables(const QByteArray& bytes, bool ram, const QString& path,
                                         const Settings& settings) {
    Settings own = settings;
    ChannelTables tables(own);
    QString shown;
    QTextStream messages(&shown);
    TextFrame frame(messages, {}, false);
    if (!tables.LoadTable(bytes, ram ? TableKind::RamTable : TableKind::FlashImage, frame))
        return shown.trimmed();
    return SaveTables(tables, path, SaveKindOfFileName(path), tables.Channels(), HtmlStyle{});
}

std::variant<QByteArray, QString> RebuiltFlashTable(const QString& file, const Settings& settings) {
    const FileRead read = ReadWholeFile(file);
    if (!read.ok()) return Msg(200) + QStringLiteral("\n") + read.error;
    Settings own = settings;
    ChannelTables tables(own);
    QString shown;
    QTextStream messages(&shown);
    TextFrame frame(messages, {}, false);
    if (!tables.LoadTable(read.bytes, TableKind::FlashImage, frame)) return shown.trimmed();
    return tables.FlashImageToSend();
}

}  // namespace velarix::cli
