#include "jtag_commands.h"

#include "table_commands.h"

#include <QFileInfo>
#include <memory>

#include "eeprom/eeprom_image.h"
#include "eeprom_file_io.h"
#include "jtag/cpu_identification.h"
#include "jtag/jtag_operation.h"
#include "jtag/memory_readout.h"
#include "jtag_target.h"
#include "lpt/port_timing.h"
#include "pc_parallel_port.h"
#include "picture/picture_decoder.h"
#include "picture/picture_files.h"
#include "shell/message_table.h"
#include "sim_parallel_port.h"
#include "simulated_decoder.h"
#include "text_frame.h"

namespace velarix::cli {

namespace {

// The built-in simulated decoder of `--lpt sim`, with the JTAG cable on its port.
struct BuiltInDecoder {
    sim::SimulatedDecoder decoder;
    sim::JtagTarget jtag{decoder};
    sim::PcParallelPort port;
    BuiltInDecoder() { port.AttachJtag(&jtag); }
};

// The port, the time it runs on and the trap routine for one command.
class JtagCommand {
public:
    JtagCommand(CliContext& context, QSet<LogPane> panes)
        : context_(context), frame_(context.err(), std::move(panes), context.showProgress) {}

    // Takes --lpt and --trap; a usage fault ends the command with its status.
    std::optional<int> TakeOptions() {
        lpt_ = context_.TakeOption(QStringLiteral("--lpt")).value_or(QString());
        const auto trap = context_.TakeOption(QStringLiteral("--trap"));
        if (context_.Rest().contains(QStringLiteral("--lpt")) ||
            context_.Rest().contains(QStringLiteral("--trap"))) {
            return context_.BadUsage(QStringLiteral("--lpt and --trap need a value"));
        }
        if (trap) {
            // A routine named on the command line must be there: no other is tried.
            const FileRead file = ReadWholeFile(*trap);
            if (!file.ok()) {
                context_.err() << Msg(275) << Qt::endl << file.error << Qt::endl;
                return kBadUsage;
            }
            if (file.bytes.size() < kTrapRoutineSize) {
                context_.err() << *trap << ": " << Msg(418) << Qt::endl;
                return kBadUsage;
            }
            trapPlaces_ = QStringList{*trap};
        } else {
            trapPlaces_ = TrapRoutinePlaces(context_.programFolder, context_.settings.folder);
        }
        return std::nullopt;
    }
    std::optional<int> NoLeftovers() {
        if (!context_.Rest().isEmpty())
            return context_.BadUsage(QStringLiteral("unexpected argument: ") +
                                     context_.Rest().first());
        return std::nullopt;
    }

    JtagEnvironment& Environment() {
        if (auto* virtualClock = dynamic_cast<VirtualClock*>(&context_.clock())) {
            timing_ = std::make_unique<VirtualPortTiming>(*virtualClock);
        } else {
            timing_ = std::make_unique<SystemPortTiming>(context_.clock());
        }
        const QStringList places = trapPlaces_;
        env_ = std::make_unique<JtagEnvironment>(
            JtagEnvironment{frame_, context_.settings, *timing_,
                            [this] {
                                return OpenParallelPort(
                                    lpt_, ParallelBaseAt(context_.settings.parallel), SimPort());
                            },
                            trap_, [places] { return ReadFirstTrapRoutine(places); }});
        return *env_;
    }

    TextFrame& Frame() { return frame_; }

private:
    SimPortMaker SimPort() {
        if (context_.simParallelPort) return context_.simParallelPort;
        return [this] {
            if (!builtIn_) builtIn_ = std::make_unique<BuiltInDecoder>();
            return std::unique_ptr<ParallelPort>(std::make_unique<SimParallelPort>(builtIn_->port));
        };
    }

    CliContext& context_;
    TextFrame frame_;
    QString lpt_;
    QStringList trapPlaces_;
    TrapState trap_;
    std::unique_ptr<PortTiming> timing_;
    std::unique_ptr<JtagEnvironment> env_;
    std::unique_ptr<BuiltInDecoder> builtIn_;
};

int StatusOf(const ReadResult& result) {
    return result.outcome == ReadOutcome::Done ? kDone : kFailed;
}

}  // namespace

JtagTableSaver& JtagTableSaving() {
    static JtagTableSaver saver = SaveReadOutTables;
    return saver;
}

// The identification lines go to standard output; an answer of all ones or
// all zeros (no CPU there) is a failure.
int JtagIdcode(CliContext& context) {
    JtagCommand command(context, {});
    if (const auto status = command.TakeOptions()) return *status;
    if (const auto status = command.NoLeftovers()) return *status;
    const auto id = IdentifyCpu(command.Environment());
    if (!id) return kFailed;
    context.out() << IdcodeLine(*id) << Qt::endl;
    for (const QString& line : IdentificationLines(*id)) context.out() << line << Qt::endl;
    return IsIdcodeAnswer(*id) ? kDone : kFailed;
}

int JtagRead(CliContext& context) {
    JtagCommand command(context, {LogPane::Jtag});
    const auto address = context.TakeOption(QStringLiteral("--address"));
    const auto length = context.TakeOption(QStringLiteral("--length"));
    const auto out = context.TakeOption(QStringLiteral("-o"));
    const QString to = context.TakeOption(QStringLiteral("--to")).value_or(QStringLiteral("file"));
    if (const auto status = command.TakeOptions()) return *status;
    if (!address || !length || !out)
        return context.BadUsage(QStringLiteral("jtag read needs --address, --length and -o FILE"));
    static const QStringList kinds{"ram-table", "flash-table", "picture", "file"};
    const qsizetype kind = kinds.indexOf(to);
    if (kind < 0)
        return context.BadUsage(
            QStringLiteral("--to takes file, ram-table, flash-table or picture"));
    if (const auto status = command.NoLeftovers()) return *status;
    const auto destination = static_cast<ReadDestination>(kind == 3 ? 4 : kind);

    ReadOutDelivery delivery;
    std::optional<QString> saveError;
    if (destination == ReadDestination::File) {
        delivery.chooseFile = [&] { return std::optional<QString>(*out); };
    } else if (destination == ReadDestination::Picture) {
        const QString extension = QFileInfo(*out).suffix().toLower();
        if (extension != QLatin1String("bmp") && extension != QLatin1String("jpg") &&
            extension != QLatin1String("jpeg")) {
            return context.BadUsage(QStringLiteral("--to picture writes a .bmp or .jpg file"));
        }
        delivery.picture = [&](const QByteArray& frame) {
            const Settings& s = context.settings;
            const PictureShape shape = s.pictureShape == 1   ? PictureShape::Wide
                                       : s.pictureShape == 0 ? PictureShape::Standard
                                                             : PictureShape::Original;
            const QImage picture =
                ShapePicture(DecodePicture(frame, s.pictureWidth, s.pictureHeight), shape);
            saveError = extension == QLatin1String("bmp")
                            ? SaveBmp(picture, *out)
                            : SaveJpeg(picture, *out, int(s.sliders[kCalidadJPEG]));
        };
    } else {
        const JtagTableSaver& saver = JtagTableSaving();
        auto save = [&, ram = destination == ReadDestination::RamTable](const QByteArray& bytes) {
            saveError = saver(bytes, ram, *out, context.settings);
        };
        delivery.ramTable = save;
        delivery.flashTable = save;
    }
    const ReadResult result =
        ReceiveFromTarget(command.Environment(), destination, *address, *length, delivery);
    if (saveError) {
        context.err() << *saveError << Qt::endl;
        return kFailed;
    }
    return StatusOf(result);
}

// The bytes read are placed into an all-FF image, or the image of -i FILE,
// and the whole image is written.
int JtagReadEeprom(CliContext& context) {
    JtagCommand command(context, {LogPane::Jtag});
    const auto address = context.TakeOption(QStringLiteral("--address"));
    const auto length = context.TakeOption(QStringLiteral("--length"));
    const auto out = context.TakeOption(QStringLiteral("-o"));
    const auto in = context.TakeOption(QStringLiteral("-i"));
    QString error;
    const auto format = TakeFormat(context, QStringLiteral("--format"), error);
    if (!format) return context.BadUsage(error);
    if (const auto status = command.TakeOptions()) return *status;
    if (!address || !length || !out) {
        return context.BadUsage(
            QStringLiteral("jtag read-eeprom needs --address, --length and -o FILE"));
    }
    if (const auto status = command.NoLeftovers()) return *status;
    EepromImage image;
    if (in) {
        if (const auto status = LoadEepromFile(context, *in, *format, image)) return *status;
    }
    ReadOutDelivery delivery;
    delivery.eeprom = &image;
    const ReadResult result = ReceiveFromTarget(command.Environment(), ReadDestination::Eeprom,
                                                *address, *length, delivery);
    if (result.outcome != ReadOutcome::Done) return kFailed;
    return SaveEepromFile(context, *out, *format, image);
}

}  // namespace velarix::cli
