#include "commands.h"

#include <QFileInfo>

#include "eeprom_commands.h"
#include "firmware_commands.h"
#include "jtag_commands.h"
#include "picture_commands.h"
#include "serial/serial_settings.h"
#include "serial_commands.h"
#include "serve.h"
#include "shell/language.h"
#include "shell/message_table.h"
#include "shell/settings_file.h"
#include "shell/settings_folder.h"
#include "shell/title.h"
#include "table_commands.h"

namespace velarix::cli {

namespace {

struct Command {
    const char* words;  // the command's words, blank-separated
    const char* usage;
    int (*run)(CliContext&);
    // Whether the settings are loaded with the machine's serial ports, as the
    // window loads them; a command that never opens a port starts without
    // looking for them.
    bool serialPorts = true;
};

int Version(CliContext& context) {
    context.out() << TitleText() << Qt::endl;
    return kDone;
}

// Loads and saves the settings exactly as the window does at start and close.
int NormalizeSettings(CliContext& context) {
    if (!context.Rest().isEmpty())
        return context.BadUsage(QStringLiteral("unexpected argument: ") + context.Rest().first());
    if (const auto error = SaveSettings(context.settings)) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    context.err() << context.settings.folder + SettingsFileName() << Qt::endl;
    return kDone;
}

int Simulator(CliContext& context) {
    return sim::Serve(context.Rest(), context.out(), context.err());
}

const Command kCommands[] = {
    {"eeprom read", "eeprom read -o FILE [--format F] [--length all|0AF|row:RR] [serial options]",
     EepromRead},
    {"eeprom write", "eeprom write -i FILE [--format F] [--length L] [serial options]",
     EepromWrite},
    {"eeprom verify", "eeprom verify -i FILE [--format F] [--length L] [serial options]",
     EepromVerify},
    {"eeprom convert",
     "eeprom convert -i FILE --from F -o FILE --to F   (F: velarix, zefiro9, raw)", EepromConvert},
    {"eeprom fields", "eeprom fields -i FILE [--format F] [--model N]", EepromFields},
    {"eeprom set-field", "eeprom set-field -i FILE [--format F] -o FILE [--to F] KEY=VALUE...",
     EepromSetField},
    {"terminal", "terminal [--no-checksum] LINE... [serial options]", TerminalLines},
    {"firmware upload",
     "firmware upload -i FILE|--table FILE --address A [--command DL|PL|FL] "
     "[--phase12|--no-phase12] [--progress|--no-progress] [serial options] [--lpt PORT]",
     UploadFirmware},
    {"firmware check-lpt", "firmware check-lpt [serial options] [--lpt PORT]", CheckDecoderLpt},
    {"jtag idcode", "jtag idcode [--lpt PORT]", JtagIdcode},
    {"jtag read",
     "jtag read --address HEX --length HEX -o FILE [--to file|ram-table|flash-table|picture] "
     "[--lpt PORT]",
     JtagRead},
    {"jtag read-eeprom",
     "jtag read-eeprom --address HEX --length HEX -o FILE [-i FILE] [--format F] [--lpt PORT] "
     "[--trap FILE]",
     JtagReadEeprom},
    {"jtag write",
     "jtag write --address HEX -i FILE [--force] [--no-verify] [--add-checksum POS] "
     "[--on-error abort|retry|ignore] [--dry-run] [--lpt PORT] [--trap FILE]",
     JtagWrite},
    {"jtag write-eeprom",
     "jtag write-eeprom --address HEX --length HEX -i FILE [--format F] [--lpt PORT] "
     "[--trap FILE]",
     JtagWriteEeprom},
    {"jtag erase", "jtag erase --address HEX [--by-blocks] [--yes] [--lpt PORT] [--trap FILE]",
     JtagErase},
    {"checksum", "checksum -i FIRMWARE [--position HEX] [-o STAMPED]", FirmwareChecksum},
    {"tables export",
     "tables export -i FILE [--ram] [--grid channels|transponders] --format text|html -o FILE "
     "[--section ADDR]...",
     TablesExport},
    {"tables save",
     "tables save -i FILE [--ram] [--merge FILE]... [--tcs HEX] [--tpt HEX] [--section ADDR]... "
     "[--grid channels|transponders] -o FILE",
     TablesSave},
    {"tables edit",
     "tables edit -i FILE [--ram] [--merge FILE]... [--section ADDR]... -o FILE OP...  (OP: "
     "channels.move:S-E:T, transponders.delete:S-E, channels.paste:S, channels.key:S-E:K, "
     "channels.flag:S-E:BOX, channels.encryption:S-E:C, channels.set:R:COL=TEXT,..., swap:A:B...)",
     TablesEdit},
    {"picture decode",
     "picture decode -i DUMP [--size WxH] [--shape 16:9|4:3|original] -o FILE [--format bmp|jpeg] "
     "[--quality 1-100]",
     PictureDecode, false},
    {"settings normalize", "settings normalize", NormalizeSettings},
    {"sim",
     "sim [--eeprom FILE] [--flash1 FILE] [--flash2 FILE] [--ram FILE] [--lpt-socket PATH] "
     "[--refuse N] [--silent] [--split N] [--no-cr] "
     "[--delay MS] [--refuse-load] [--wrong-sum] [--lpt-no-negotiation] [--lpt-ack-stuck-low] "
     "[--lpt-select-high] [--lpt-paper-end-high] [--lpt-busy-at K] [--lpt-ack-low-at K] "
     "[--lpt-random SEED[:PERMILLE]]",
     Simulator},
    {"version", "version", Version},
};

void PrintUsage(QTextStream& stream) {
    stream
        << "usage: velarix-cli [--settings DIR] [--language NAME] COMMAND [options]\n"
        << "serial options: --port DEVICE --baud N --data-bits 6|7|8\n"
        << "  --parity none|even|odd|mark|space --stop-bits 1|2 --flow none|software|hardware\n"
        << "parallel options: --lpt 278|378|3BC|A068|2000|/dev/parportN|unix:PATH|sim\n"
        << "-o - writes to standard output\n"
        << "commands:\n";
    for (const auto& command : kCommands) stream << "  " << command.usage << '\n';
    stream.flush();
}

int Help(CliContext& context) {
    PrintUsage(context.out());
    return kDone;
}

// The command whose words open the argument list; its words are taken off.
const Command* Find(QStringList& args) {
    for (const auto& command : kCommands) {
        const QStringList words = QString::fromLatin1(command.words).split(QLatin1Char(' '));
        if (args.mid(0, words.size()) == words) {
            args.remove(0, words.size());
            return &command;
        }
    }
    return nullptr;
}

}  // namespace

int RunCommand(CliContext& context) {
    const auto folder = context.TakeOption("--settings");
    const auto language = context.TakeOption("--language");
    if (context.Rest().startsWith(QStringLiteral("--settings")) ||
        context.Rest().startsWith(QStringLiteral("--language"))) {
        return context.BadUsage(context.Rest().first() + QStringLiteral(" needs a value"));
    }
    QStringList args = context.Rest();
    if (args.isEmpty()) {  // a script that lost its command must not pass for done
        PrintUsage(context.err());
        return kBadUsage;
    }
    if (args.first() == QLatin1String("help") || args.first() == QLatin1String("--help"))
        return Help(context);
    if (args.first() == QLatin1String("--version")) return Version(context);
    const Command* command = Find(args);
    if (!command) return context.BadUsage(QStringLiteral("unknown command: ") + args.join(' '));
    if (folder && QFileInfo(*folder).exists() && !QFileInfo(*folder).isDir())
        return context.BadUsage(Msg(437) + *folder);
    CliContext commandContext(args, context.out(), context.err(), context.clock());
    commandContext.showProgress = context.showProgress;
    commandContext.programFolder = context.programFolder;
    commandContext.simParallelPort = context.simParallelPort;
    commandContext.binaryOut = context.binaryOut;
    commandContext.settings =
        LoadSettings(ResolveSettingsFolder(folder.value_or(QString()), context.programFolder),
                     command->serialPorts ? SerialPortNames() : QStringList());
    if (language) {
        const QString file = LanguageFilePath(commandContext.settings.folder, *language);
        if (!QFileInfo::exists(file))
            context.err() << "velarix-cli: " << Msg(436) << file << Qt::endl;
        LoadLanguageFile(Messages(), commandContext.settings.folder, *language);
    } else {
        LoadLanguage(Messages(), commandContext.settings);
    }
    return command->run(commandContext);
}

}  // namespace velarix::cli
