#include "firmware_commands.h"

#include "table_commands.h"

#include <memory>
#include <optional>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex_editing.h"
#include "lpt/firmware_upload.h"
#include "lpt/port_timing.h"
#include "lpt_options.h"
#include "serial/serial_tasks.h"
#include "serial_options.h"
#include "shell/whole_file.h"
#include "sim_parallel_port.h"
#include "text_frame.h"
#include "wired_decoder.h"

namespace velarix::cli {

namespace {

constexpr int kNoEnd = 24 * 3600 * 1000;  // the operations end by their own time-outs

// Runs the simulator's delays on the command's clock.
sim::Scheduler ClockScheduler(Clock& clock, std::vector<std::unique_ptr<Timer>>& timers) {
    return [&clock, &timers](int milliseconds, std::function<void()> work) {
        auto timer = clock.MakeTimer();
        timer->onTimeout = std::move(work);
        timer->Start(milliseconds);
        timers.push_back(std::move(timer));
    };
}

// The page's operations for one command: its serial port, its parallel
// port, and the built-in simulated decoder when `--lpt sim` asks for it.
struct Session {
    Session(CliContext& context, Settings settingsForRun)
        : frame(context.err(), {LogPane::Firmware}, context.showProgress),
          tasks(port, context.clock(), frame, image, editing),
          timing(MakePortTiming(context.clock())),
          settings(std::move(settingsForRun)),
          upload(tasks.link, frame, *timing, settings) {}

    std::vector<std::unique_ptr<Timer>> simTimers;
    std::unique_ptr<sim::WiredDecoder> ownSimulator;
    sim::WiredDecoder* simulator = nullptr;
    QtLinkPort port;
    TextFrame frame;
    EepromImage image;
    HexEditing editing{image};
    SerialTasks tasks;
    std::unique_ptr<PortTiming> timing;
    Settings settings;
    FirmwareUpload upload;
};

// The connection options of a firmware command; a usage fault ends it.
struct Connections {
    SerialChoice serial;
    LptChoice lpt;
};

std::optional<int> TakeConnections(CliContext& context, Session& session,
                                   Connections& connections) {
    if (const auto fault = TakeLptOptions(context, connections.lpt)) {
        return context.BadUsage(*fault);
    }
    QString simulatorPort;
    if (connections.lpt.BuiltInSimulator()) {
        if (BuiltInSimulator()) {
            session.simulator = BuiltInSimulator()();
        } else {
            session.ownSimulator = std::make_unique<sim::WiredDecoder>(
                ClockScheduler(context.clock(), session.simTimers));
            session.simulator = session.ownSimulator.get();
        }
        if (!session.simulator->servicePort.IsOpen()) {
            context.err() << "velarix-cli: the simulated decoder could not start: "
                          << session.simulator->servicePort.ErrorText() << Qt::endl;
            return kFailed;
        }
        simulatorPort = session.simulator->servicePort.Path();
    }
    if (const auto fault = TakeSerialOptions(context, connections.serial, simulatorPort)) {
        return context.BadUsage(*fault);
    }
    return std::nullopt;
}

std::optional<int> OpenSerial(CliContext& context, Session& session,
                              const Connections& connections) {
    if (const auto error =
            session.tasks.OpenPort(connections.serial.port, connections.serial.settings)) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    return std::nullopt;
}

int RunToTheEnd(CliContext& context, Session& session, const std::function<bool()>& start) {
    std::optional<UploadOutcome> outcome;
    session.upload.finished = [&](UploadOutcome o) { outcome = o; };
    if (start()) context.clock().RunUntil([&] { return outcome.has_value(); }, kNoEnd);
    return outcome == UploadOutcome::Success ? kDone : kFailed;
}

QString UnexpectedArgument(const CliContext& context) {
    return QStringLiteral("unexpected argument: ") +
           (context.LeftoverOption().isEmpty() ? context.Rest().first() : context.LeftoverOption());
}

}  // namespace

SimulatorSource& BuiltInSimulator() {
    static SimulatorSource source;
    return source;
}

int UploadFirmware(CliContext& context) {
    const auto file = context.TakeOption("-i");
    const auto table = context.TakeOption("--table");
    const auto address = context.TakeOption("--address");
    const auto command = context.TakeOption("--command");
    const bool phase12 = context.TakeFlag("--phase12");
    const bool noPhase12 = context.TakeFlag("--no-phase12");
    const bool progress = context.TakeFlag("--progress");
    const bool noProgress = context.TakeFlag("--no-progress");

    Settings settings = context.settings;
    if (!address) return context.BadUsage(QStringLiteral("firmware upload needs --address A"));
    if (file.has_value() == table.has_value()) {
        return context.BadUsage(QStringLiteral("firmware upload needs -i FILE or --table FILE"));
    }
    const QString typed = AddressBoxText(*address);
    if (const auto preset = PresetOf(typed)) {
        settings.firmwareCommand = preset->command;
        settings.phase12 = preset->phase12;
    }
    if (command) {
        static const QStringList words{"DL", "PL", "FL"};
        settings.firmwareCommand = static_cast<int>(words.indexOf(command->toUpper()));
        if (settings.firmwareCommand < 0)
            return context.BadUsage(QStringLiteral("--command takes DL, PL or FL"));
    }
    if (phase12 && noPhase12) {
        return context.BadUsage(QStringLiteral("give --phase12 or --no-phase12, not both"));
    }
    if (phase12 || noPhase12) settings.phase12 = phase12;
    if (progress || noProgress) settings.showProgress = progress;

    Session session(context, settings);
    Connections connections;
    if (const auto fault = TakeConnections(context, session, connections)) return *fault;
    if (!context.Rest().isEmpty()) return context.BadUsage(UnexpectedArgument(context));

    QByteArray image;
    if (file) {
        // A file that cannot be read is told with the system's reason; nothing is sent.
        const FileRead read = ReadWholeFile(*file);
        if (!read.ok()) {
            context.err() << read.error << Qt::endl;
            return kBadUsage;
        }
        image = read.bytes;
    } else {
        auto rebuilt = RebuiltFlashTable(*table, context.settings);
        if (const auto* message = std::get_if<QString>(&rebuilt)) {
            context.err() << DisplayedText(*message) << Qt::endl;
            return kBadUsage;
        }
        image = std::get<QByteArray>(rebuilt);
    }
    if (const auto failed = OpenSerial(context, session, connections)) return *failed;
    sim::WiredDecoder* simulator = session.simulator;
    const LptChoice lpt = connections.lpt;
    session.upload.addressText = [typed] { return typed; };
    session.upload.openPort = [simulator, lpt] {
        SimPortMaker maker;
        if (simulator) {
            maker = [simulator] { return std::make_unique<SimParallelPort>(simulator->pcPort); };
        }
        return OpenParallelPort(lpt.portName, lpt.base, maker);
    };
    return RunToTheEnd(context, session, [&] { return session.upload.StartUpload(image); });
}

int CheckDecoderLpt(CliContext& context) {
    Session session(context, context.settings);
    Connections connections;
    if (const auto fault = TakeConnections(context, session, connections)) return *fault;
    if (!context.Rest().isEmpty()) return context.BadUsage(UnexpectedArgument(context));
    if (const auto failed = OpenSerial(context, session, connections)) return *failed;
    return RunToTheEnd(context, session, [&] { return session.upload.StartPortCheck(); });
}

}  // namespace velarix::cli
