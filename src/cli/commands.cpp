#include "commands.h"

#include "serial_commands.h"
#include "serve.h"
#include "shell/title.h"

namespace velarix::cli {

namespace {

struct Command {
    const char* words;  // the command's words, blank-separated
    const char* usage;
    int (*run)(CliContext&);
};

int Version(CliContext& context) {
    context.out() << TitleText() << Qt::endl;
    return kDone;
}

int Simulator(CliContext& context) {
    return sim::Serve(context.Rest(), context.out(), context.err());
}

const Command kCommands[] = {
    {"eeprom read", "eeprom read -o FILE [--format raw] [--length all|0AF|row:RR] [serial options]",
     EepromRead},
    {"eeprom write", "eeprom write -i FILE [--format raw] [--length L] [serial options]",
     EepromWrite},
    {"eeprom verify", "eeprom verify -i FILE [--format raw] [--length L] [serial options]",
     EepromVerify},
    {"terminal", "terminal [--no-checksum] LINE... [serial options]", TerminalLines},
    {"sim", "sim [--eeprom FILE] [--refuse N] [--silent] [--split N] [--no-cr] [--delay MS]",
     Simulator},
    {"version", "version", Version},
};

int Help(CliContext& context) {
    context.out()
        << "usage: velarix-cli [--settings DIR] [--language NAME] COMMAND [options]\n"
        << "serial options: --port DEVICE --baud N --data-bits 6|7|8\n"
        << "  --parity none|even|odd|mark|space --stop-bits 1|2 --flow none|software|hardware\n"
        << "commands:\n";
    for (const auto& command : kCommands) context.out() << "  " << command.usage << '\n';
    context.out().flush();
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
    QStringList args = context.Rest();
    if (args.isEmpty() || args.first() == QLatin1String("help") ||
        args.first() == QLatin1String("--help")) {
        return Help(context);
    }
    if (args.first() == QLatin1String("--version")) return Version(context);
    const Command* command = Find(args);
    if (!command) return context.BadUsage(QStringLiteral("unknown command: ") + args.join(' '));
    CliContext commandContext(args, context.out(), context.err(), context.clock());
    commandContext.showProgress = context.showProgress;
    return command->run(commandContext);
}

}  // namespace velarix::cli
