#include "serve.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTimer>
#include <atomic>
#include <csignal>
#include <optional>

#include "port_model_server.h"
#include "pty_service_port.h"
#include "sample_tables.h"
#include "service_mode.h"
#include "simulated_decoder.h"
#include "test_frame.h"
#include "trap_routine.h"
#include "wired_decoder.h"

namespace velarix::sim {

namespace {

std::atomic<bool> interrupted{false};

void OnSignal(int) {
    interrupted = true;
}

// Takes "--name VALUE" out of `args`; false when the name is there without a value.
bool TakeValue(QStringList& args, const QString& name, QString& value) {
    const qsizetype at = args.indexOf(name);
    if (at < 0) return true;
    if (at + 1 >= args.size()) return false;
    value = args.at(at + 1);
    args.remove(at, 2);
    return true;
}

struct Knobs {
    QString eeprom;
    QString flash1, flash2, ram;  // what the chips and the RAM hold from their start
    QString socket;
    int refuse = 0;
    int split = 1;
    int delay = 0;
    bool silent = false;
    bool noCr = false;
    // The parallel side.
    PeripheralFaults faults;
    bool refuseLoad = false;
    bool wrongSum = false;
    std::optional<std::uint32_t> randomSeed;
    int randomPerMille = 2;
};

// --lpt-random SEED[:PERMILLE]
bool ParseRandom(const QString& text, Knobs& knobs) {
    bool ok = true, shareOk = true;
    const std::uint32_t seed = text.section(QLatin1Char(':'), 0, 0).toUInt(&ok);
    if (text.contains(QLatin1Char(':'))) {
        knobs.randomPerMille = text.section(QLatin1Char(':'), 1).toInt(&shareOk);
    }
    if (!ok || !shareOk || knobs.randomPerMille < 0 || knobs.randomPerMille > 1000) return false;
    knobs.randomSeed = seed;
    return true;
}

bool TakeKnobs(QStringList& args, Knobs& knobs, QString& error) {
    QString refuse, split, delay, busyAt, ackLowAt, random;
    if (!TakeValue(args, "--eeprom", knobs.eeprom) || !TakeValue(args, "--flash1", knobs.flash1) ||
        !TakeValue(args, "--flash2", knobs.flash2) || !TakeValue(args, "--ram", knobs.ram) ||
        !TakeValue(args, "--refuse", refuse) || !TakeValue(args, "--split", split) ||
        !TakeValue(args, "--delay", delay) || !TakeValue(args, "--lpt-socket", knobs.socket) ||
        !TakeValue(args, "--lpt-busy-at", busyAt) ||
        !TakeValue(args, "--lpt-ack-low-at", ackLowAt) ||
        !TakeValue(args, "--lpt-random", random)) {
        error = QStringLiteral("an option is missing its value");
        return false;
    }
    knobs.silent = args.removeOne("--silent");
    knobs.noCr = args.removeOne("--no-cr");
    knobs.refuseLoad = args.removeOne("--refuse-load");
    knobs.wrongSum = args.removeOne("--wrong-sum");
    knobs.faults.refuseNegotiation = args.removeOne("--lpt-no-negotiation");
    knobs.faults.ackStuckLow = args.removeOne("--lpt-ack-stuck-low");
    knobs.faults.selectHighInPhase6 = args.removeOne("--lpt-select-high");
    knobs.faults.paperEndStuckHigh = args.removeOne("--lpt-paper-end-high");
    bool ok = true;
    if (!refuse.isEmpty()) knobs.refuse = refuse.toInt(&ok);
    if (ok && !split.isEmpty()) knobs.split = split.toInt(&ok);
    if (ok && !delay.isEmpty()) knobs.delay = delay.toInt(&ok);
    if (ok && !busyAt.isEmpty()) knobs.faults.busyStuckAt = busyAt.toLongLong(&ok);
    if (ok && !ackLowAt.isEmpty()) knobs.faults.ackLowAt = ackLowAt.toLongLong(&ok);
    if (!ok || knobs.refuse < 0 || knobs.split < 1 || knobs.delay < 0 ||
        (!busyAt.isEmpty() && knobs.faults.busyStuckAt < 0) ||
        (!ackLowAt.isEmpty() && knobs.faults.ackLowAt < 0)) {
        error = QStringLiteral(
            "--refuse, --split, --delay, --lpt-busy-at and --lpt-ack-low-at take whole numbers");
        return false;
    }
    if (!random.isEmpty() && !ParseRandom(random, knobs)) {
        error = QStringLiteral("--lpt-random takes SEED or SEED:PERMILLE");
        return false;
    }
    if (!args.isEmpty()) {
        error = QStringLiteral("unknown argument: ") + args.first();
        return false;
    }
    return true;
}

// The bytes of a file that is to fill `room` bytes from their start; the
// reason when it cannot be read or does not fit.
std::optional<QByteArray> MemoryFile(const QString& path, qint64 room, QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = path + QStringLiteral(": ") + file.errorString();
        return std::nullopt;
    }
    if (file.size() > room) {
        error = path + QStringLiteral(": more than the %1 bytes it is to fill").arg(room);
        return std::nullopt;
    }
    return file.readAll();
}

// --flash1, --flash2 and --ram: what the two chips and the RAM hold.
bool LoadMemories(const Knobs& knobs, SimulatedDecoder& decoder, QString& error) {
    for (int chip = 0; chip < 2; ++chip) {
        const QString& path = chip == 0 ? knobs.flash1 : knobs.flash2;
        if (path.isEmpty()) continue;
        const auto bytes = MemoryFile(path, decoder.Flash(chip).Size(), error);
        if (!bytes) return false;
        decoder.Flash(chip).Fill(0, *bytes);
    }
    if (!knobs.ram.isEmpty()) {
        const auto bytes = MemoryFile(knobs.ram, SimulatedDecoder::kRamSize, error);
        if (!bytes) return false;
        decoder.Ram().replace(0, bytes->size(), *bytes);
    }
    return true;
}

}  // namespace

// --save-frame FILE [--width W]: the colour bars of the frame memory, for the
// "Imagen" page to read without hardware.
int SaveFrame(QStringList& args, QTextStream& out, QTextStream& err) {
    QString path, width;
    if (!TakeValue(args, "--save-frame", path) || !TakeValue(args, "--width", width) ||
        !args.isEmpty()) {
        err << "sim: --save-frame FILE [--width 352|528|544|704|720]" << Qt::endl;
        return 2;
    }
    const int w = width.isEmpty() ? 720 : width.toInt();
    if (w != 352 && w != 528 && w != 544 && w != 704 && w != 720) {
        err << "sim: --width takes 352, 528, 544, 704 or 720" << Qt::endl;
        return 2;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(TestFrame(w)) != 0x98000) {
        err << "sim: " << path << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    out << path << Qt::endl;
    return 0;
}

// --save-trap FILE: the stand-in trap routine that only this simulator runs,
// for trying the JTAG commands against it.
int SaveTrap(QStringList& args, QTextStream& out, QTextStream& err) {
    QString path;
    if (!TakeValue(args, "--save-trap", path) || path.isEmpty() || !args.isEmpty()) {
        err << "sim: --save-trap FILE" << Qt::endl;
        return 2;
    }
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(StandInTrapRoutine()) != kTrapRoutineSize) {
        err << "sim: " << path << ": " << file.errorString() << Qt::endl;
        return 1;
    }
    out << path << Qt::endl;
    return 0;
}

// --save-tables DIR: a flash image and a RAM table of made-up channels, for
// "Leer archivo..." on the "Sintonización" page to read without hardware.
int SaveTables(QStringList& args, QTextStream& out, QTextStream& err) {
    QString folder;
    if (!TakeValue(args, "--save-tables", folder) || folder.isEmpty() || !args.isEmpty()) {
        err << "sim: --save-tables DIR" << Qt::endl;
        return 2;
    }
    if (const auto error = SaveSampleTables(folder)) {
        err << "sim: " << *error << Qt::endl;
        return 1;
    }
    out << QDir(folder).filePath(QStringLiteral("sample-flash.bin")) << Qt::endl
        << QDir(folder).filePath(QStringLiteral("sample-ram.bin")) << Qt::endl;
    return 0;
}

int Help(QTextStream& out) {
    out << "usage: velarix-sim [--eeprom FILE] [--flash1 FILE] [--flash2 FILE] [--ram FILE]\n"
           "  [--lpt-socket PATH] [--refuse N] [--silent] [--split N] [--no-cr] [--delay MS]\n"
           "  [--refuse-load] [--wrong-sum] [--lpt-no-negotiation] [--lpt-ack-stuck-low]\n"
           "  [--lpt-select-high] [--lpt-paper-end-high] [--lpt-busy-at K] [--lpt-ack-low-at K]\n"
           "  [--lpt-random SEED[:PERMILLE]]\n"
           "  prints its service port (a pseudo-terminal) on the first line and its\n"
           "  parallel port model (for --lpt unix:PATH) on the second, then serves both\n"
           "velarix-sim --save-frame FILE [--width 352|528|544|704|720]\n"
           "velarix-sim --save-trap FILE\n"
           "velarix-sim --save-tables FOLDER\n";
    out.flush();
    return 0;
}

int Serve(QStringList args, QTextStream& out, QTextStream& err) {
    if (args.contains(QStringLiteral("--help"))) return Help(out);
    if (args.contains(QStringLiteral("--save-frame"))) return SaveFrame(args, out, err);
    if (args.contains(QStringLiteral("--save-trap"))) return SaveTrap(args, out, err);
    if (args.contains(QStringLiteral("--save-tables"))) return SaveTables(args, out, err);
    Knobs knobs;
    QString error;
    if (!TakeKnobs(args, knobs, error)) {
        err << "sim: " << error << Qt::endl;
        return 2;
    }
    WiredDecoder rig;
    if (!knobs.eeprom.isEmpty()) {
        QFile file(knobs.eeprom);
        if (!file.open(QIODevice::ReadOnly) || file.size() != SimulatedDecoder::kEepromSize) {
            err << "sim: " << knobs.eeprom << ": not a 2048-byte EEPROM image" << Qt::endl;
            return 2;
        }
        rig.decoder.SetEeprom(file.readAll());
    }
    if (!LoadMemories(knobs, rig.decoder, error)) {
        err << "sim: " << error << Qt::endl;
        return 2;
    }
    rig.service.RefuseNext(knobs.refuse);
    rig.service.SetSilent(knobs.silent);
    rig.loader.SetRefuseLoads(knobs.refuseLoad);
    rig.loader.SetWrongSum(knobs.wrongSum);
    rig.peripheral.faults = knobs.faults;
    if (knobs.randomSeed) rig.peripheral.SetRandomFaults(*knobs.randomSeed, knobs.randomPerMille);
    PtyServicePort& port = rig.servicePort;
    if (!port.IsOpen()) {
        err << "sim: no pseudo-terminal: " << port.ErrorText() << Qt::endl;
        return 1;
    }
    port.SetSplitReplies(knobs.split);
    port.SetDropCarriageReturn(knobs.noCr);
    port.SetReplyDelay(knobs.delay);
    PortModelServer parallel(rig.pcPort, rig.parallelLock);
    const QString socket =
        knobs.socket.isEmpty()
            ? QDir::temp().filePath(QStringLiteral("velarix-sim-%1.lpt").arg(::getpid()))
            : knobs.socket;
    if (!parallel.Listen(socket, &error)) {
        err << "sim: " << error << Qt::endl;
        return 1;
    }
    out << port.Path() << Qt::endl;
    out << parallel.Path() << Qt::endl;

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [] {
        if (interrupted) QCoreApplication::quit();
    });
    watch.start(100);
    QCoreApplication::exec();
    return 0;
}

}  // namespace velarix::sim
