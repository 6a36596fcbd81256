#include "serial_commands.h"

#include <memory>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/hex_editing.h"
#include "eeprom_file_io.h"
#include "output_file.h"
#include "serial/serial_tasks.h"
#include "serial_options.h"
#include "shell/message_table.h"
#include "shell/whole_file.h"
#include "text_frame.h"

namespace velarix::cli {

namespace {

constexpr int kNoEnd = 24 * 3600 * 1000;  // the operations end by their own time-outs

// A serial port with the link's operations on it, for one command.
struct Session {
    Session(CliContext& context, QSet<LogPane> panes)
        : frame(context.err(), std::move(panes), context.showProgress),
          tasks(port, context.clock(), frame, image, editing) {}

    QtLinkPort port;
    TextFrame frame;
    EepromImage image;
    HexEditing editing{image};
    SerialTasks tasks;
};

struct EepromArgs {
    QString file;
    EepromFormat format = EepromFormat::CommandText;
    EepromLength length = EepromLength::Whole;
    int row = 0;
    SerialChoice serial;
};

// --length all|0AF|row:RR
std::optional<QString> ParseLength(const QString& text, EepromArgs& args) {
    if (text == QLatin1String("all")) {
        args.length = EepromLength::Whole;
    } else if (text.compare(QLatin1String("0AF"), Qt::CaseInsensitive) == 0) {
        args.length = EepromLength::UpTo0AF;
    } else if (text.startsWith(QLatin1String("row:"))) {
        args.row = static_cast<int>(HexToInt(text.mid(4).toUpper()));
        if (text.size() == 4 || args.row < 0 || args.row > 0x7F) {
            return QStringLiteral("--length row:RR takes a row from 00 to 7F");
        }
        args.length = EepromLength::SelectedRow;
    } else {
        return QStringLiteral("--length takes all, 0AF or row:RR");
    }
    return std::nullopt;
}

// The options every EEPROM transfer takes; a usage fault ends the command.
std::optional<int> TakeEepromArgs(CliContext& context, const QString& fileOption,
                                  EepromArgs& args) {
    const auto file = context.TakeOption(fileOption);
    QString error;
    const auto format = TakeFormat(context, "--format", error);
    const QString length = context.TakeOption("--length").value_or(QStringLiteral("all"));
    if (!format) return context.BadUsage(error);
    args.format = *format;
    if (const auto fault = TakeSerialOptions(context, args.serial)) return context.BadUsage(*fault);
    if (!file) return context.BadUsage(fileOption + QStringLiteral(" FILE is needed"));
    args.file = *file;
    if (const auto fault = ParseLength(length, args)) return context.BadUsage(*fault);
    if (!context.LeftoverOption().isEmpty() || !context.Rest().isEmpty()) {
        return context.BadUsage(QStringLiteral("unexpected argument: ") + context.Rest().first());
    }
    return std::nullopt;
}

// Opens the port the options or the settings name, saying which.
std::optional<int> OpenPort(CliContext& context, Session& session, const SerialChoice& serial) {
    context.err() << Msg(430) << serial.port << Qt::endl;
    if (const auto error = session.tasks.OpenPort(serial.port, serial.settings)) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    return std::nullopt;
}

// Opens the port and runs one transfer to its end.
int Transfer(CliContext& context, Session& session, const EepromArgs& args,
             EepromOperation operation) {
    if (const auto failed = OpenPort(context, session, args.serial)) return *failed;
    session.editing.SetSelectedRow(static_cast<std::uint8_t>(args.row + 1));
    std::optional<TransferOutcome> outcome;
    session.tasks.transfer.finished = [&](TransferOutcome o) { outcome = o; };
    session.tasks.transfer.Start(operation, args.length);
    context.clock().RunUntil([&] { return outcome.has_value(); }, kNoEnd);
    return outcome == TransferOutcome::Success ? kDone : kFailed;
}

}  // namespace

int EepromRead(CliContext& context) {
    EepromArgs args;
    if (const auto usage = TakeEepromArgs(context, "-o", args)) return *usage;
    // A whole read would be lost on an output that cannot be written.
    if (const auto fault = CheckOutput(args.file)) {
        context.err() << *fault << Qt::endl;
        return kFailed;
    }
    Session session(context, {LogPane::Eeprom});
    const int status = Transfer(context, session, args, EepromOperation::Read);
    if (status != kDone) return status;
    return SaveEepromFile(context, args.file, args.format, session.image);
}

namespace {

// Write and verify send the image read from the file given with -i; a
// verification lists the rows that differ on standard output, by address.
// The rows a transfer of the chosen length covers.
EepromRows RowsOf(const EepromArgs& args) {
    EepromRows rows;
    if (args.length == EepromLength::SelectedRow) return rows.set(args.row);
    const int count = args.length == EepromLength::Whole ? EepromImage::kRows : 11;
    for (int row = 0; row < count; ++row) rows.set(row);
    return rows;
}

int TransferFile(CliContext& context, EepromOperation operation) {
    EepromArgs args;
    if (const auto usage = TakeEepromArgs(context, "-i", args)) return *usage;
    Session session(context, {LogPane::Eeprom});
    EepromRows defined;
    if (const auto refused =
            LoadEepromFile(context, args.file, args.format, session.image, &defined)) {
        return *refused;
    }
    // Rows the file leaves out would be written from the empty image, FF.
    const EepromRows needed = RowsOf(args);
    if (operation == EepromOperation::Write && (needed & ~defined).any()) {
        context.err() << args.file << ": " << Msg(433) << '\n'
                      << Msg(434) << (needed & defined).count() << Msg(435) << needed.count()
                      << Qt::endl;
        return kBadUsage;
    }
    const int status = Transfer(context, session, args, operation);
    const auto& rows = session.tasks.transfer.MismatchedRows();
    for (int row : rows) context.out() << HexText(row, 2) << '0' << Qt::endl;
    return (status == kDone && rows.isEmpty()) ? kDone : kFailed;
}

}  // namespace

int EepromWrite(CliContext& context) {
    return TransferFile(context, EepromOperation::Write);
}

int EepromVerify(CliContext& context) {
    return TransferFile(context, EepromOperation::Verify);
}

int TerminalLines(CliContext& context) {
    const bool noChecksum = context.TakeFlag("--no-checksum");
    SerialChoice serial;
    if (const auto error = TakeSerialOptions(context, serial)) return context.BadUsage(*error);
    if (!context.LeftoverOption().isEmpty()) {
        return context.BadUsage(QStringLiteral("unknown option: ") + context.LeftoverOption());
    }
    if (context.Rest().isEmpty()) return context.BadUsage(QStringLiteral("terminal needs a LINE"));
    Session session(context, {});
    if (const auto failed = OpenPort(context, session, serial)) return *failed;
    Terminal& terminal = session.tasks.terminal;
    terminal.addChecksum = !noChecksum;
    bool answered = false;
    bool failed = false;
    terminal.received = [&](const QString& line) {
        context.out() << DisplayedText(line);
        if (!line.endsWith(QLatin1Char('\r'))) context.out() << '\n';
        context.out().flush();
        answered = true;
    };
    terminal.timedOut = [&] {
        context.err() << Msg(43) << Qt::endl;
        failed = true;
        answered = true;
    };
    for (const QString& line : context.Rest()) {
        answered = false;
        if (line.isEmpty()) continue;
        if (!terminal.Send(line)) {
            failed = true;
            continue;
        }
        context.clock().RunUntil([&] { return answered; }, kNoEnd);
    }
    return failed ? kFailed : kDone;
}

}  // namespace velarix::cli
