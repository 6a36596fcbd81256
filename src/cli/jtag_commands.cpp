#include "jtag_commands.h"

#include "lpt/port_backend.h"
#include "lpt_options.h"
#include "table_commands.h"

#include <QFileInfo>
#include <memory>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom_file_io.h"
#include "jtag/cpu_identification.h"
#include "jtag/firmware_checksums.h"
#include "jtag/flash_erase.h"
#include "jtag/flash_programming.h"
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
        if (!lpt_.isEmpty() && !IsPortSpec(lpt_)) return context_.BadUsage(LptFault(lpt_));
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

// How often `--on-error retry` retries one block before it gives up.
constexpr int kRetriesPerBlock = 3;

// A whole file, or the page's message and the status of an input refused.
std::optional<QByteArray> ReadInput(CliContext& context, const QString& path, int& status) {
    FileRead file = ReadWholeFile(path);
    if (!file.ok()) {
        context.err() << Msg(200) << Qt::endl << file.error << Qt::endl;
        status = kBadUsage;
        return std::nullopt;
    }
    return std::move(file.bytes);
}

// A hexadecimal option as the checksum-position box holds it: up to 6 digits.
std::optional<QString> TakeChecksumPosition(const QString& text) {
    const QString upper = text.toUpper();
    if (upper.isEmpty() || upper.size() > 6 || !IsHexText(upper)) return std::nullopt;
    return upper;
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

namespace velarix::cli {

// The page's options for this run: --force, --no-verify, --add-checksum POS;
// a failing block is answered by --on-error. --dry-run prints, per block,
// what a write would do, and changes nothing.
int JtagWrite(CliContext& context) {
    JtagCommand command(context, {LogPane::Jtag, LogPane::Eeprom});
    const auto address = context.TakeOption(QStringLiteral("--address"));
    const auto in = context.TakeOption(QStringLiteral("-i"));
    const auto checksum = context.TakeOption(QStringLiteral("--add-checksum"));
    const QString onError =
        context.TakeOption(QStringLiteral("--on-error")).value_or(QStringLiteral("abort"));
    const bool force = context.TakeFlag(QStringLiteral("--force"));
    const bool noVerify = context.TakeFlag(QStringLiteral("--no-verify"));
    const bool dryRun = context.TakeFlag(QStringLiteral("--dry-run"));
    if (const auto status = command.TakeOptions()) return *status;
    if (!address || !in)
        return context.BadUsage(QStringLiteral("jtag write needs --address and -i FILE"));
    static const QStringList answers{"abort", "retry", "ignore"};
    const qsizetype answer = answers.indexOf(onError);
    if (answer < 0)
        return context.BadUsage(QStringLiteral("--on-error takes abort, retry or ignore"));
    std::optional<QString> position;
    if (checksum) {
        position = TakeChecksumPosition(*checksum);
        if (!position)
            return context.BadUsage(QStringLiteral("--add-checksum takes a hexadecimal position"));
    }
    if (const auto status = command.NoLeftovers()) return *status;
    int status = kDone;
    auto image = ReadInput(context, *in, status);
    if (!image) return status;

    Settings& settings = context.settings;
    if (force) settings.forceFlash = true;
    if (noVerify) settings.verifyFlash = false;
    if (position) {
        settings.addFirmwareChecksum = true;
        settings.checksumPosition = *position;
    }
    command.Frame().abortRetryIgnoreAnswer = static_cast<AbortRetryIgnore>(answer);
    WriteOptions options;
    options.dryRun = dryRun;
    options.retriesPerBlock = kRetriesPerBlock;
    const SendResult result =
        WriteImageToTarget(command.Environment(), *address, std::move(*image), options);
    if (dryRun) {
        for (const BlockPlan& block : result.plan)
            context.out() << BlockPlanLine(block) << Qt::endl;
        if (result.ramChanges) {
            context.out() << RamPlanLine(std::uint32_t(HexToInt(AddressOnLeaving(*address))),
                                         result.size, *result.ramChanges)
                          << Qt::endl;
        }
        return result.outcome == SendOutcome::DryRun ? kDone : kFailed;
    }
    return result.outcome == SendOutcome::Done ? kDone : kFailed;
}

int JtagWriteEeprom(CliContext& context) {
    JtagCommand command(context, {LogPane::Jtag});
    const auto address = context.TakeOption(QStringLiteral("--address"));
    const auto length = context.TakeOption(QStringLiteral("--length"));
    const auto in = context.TakeOption(QStringLiteral("-i"));
    QString error;
    const auto format = TakeFormat(context, QStringLiteral("--format"), error);
    if (!format) return context.BadUsage(error);
    if (const auto status = command.TakeOptions()) return *status;
    if (!address || !length || !in) {
        return context.BadUsage(
            QStringLiteral("jtag write-eeprom needs --address, --length and -i FILE"));
    }
    if (const auto status = command.NoLeftovers()) return *status;
    EepromImage image;
    if (const auto status = LoadEepromFile(context, *in, *format, image)) return *status;
    const SendResult result = WriteEepromToTarget(command.Environment(), *address, *length, image);
    return result.outcome == SendOutcome::Done ? kDone : kFailed;
}

// Without --yes the warning is answered with Cancel: nothing is erased.
int JtagErase(CliContext& context) {
    JtagCommand command(context, {LogPane::Jtag});
    const auto address = context.TakeOption(QStringLiteral("--address"));
    const bool byBlocks = context.TakeFlag(QStringLiteral("--by-blocks"));
    const bool yes = context.TakeFlag(QStringLiteral("--yes"));
    if (const auto status = command.TakeOptions()) return *status;
    if (!address) return context.BadUsage(QStringLiteral("jtag erase needs --address"));
    if (const auto status = command.NoLeftovers()) return *status;
    command.Frame().okAnswer = yes;
    const EraseResult result =
        EraseFromPage(command.Environment(), *address,
                      byBlocks ? EraseMethod::ByBlocks : EraseMethod::OneCommand);
    return result.outcome == EraseOutcome::Done ? kDone : kFailed;
}

// The checksums of the file as it is, one per line on standard output; with
// -o the file stamped with them, or unchanged when the table does not fit,
// which is a failure: a script must not flash it as stamped.
int FirmwareChecksum(CliContext& context) {
    const auto in = context.TakeOption(QStringLiteral("-i"));
    const auto positionText = context.TakeOption(QStringLiteral("--position"));
    const auto out = context.TakeOption(QStringLiteral("-o"));
    if (!in) return context.BadUsage(QStringLiteral("checksum needs -i FIRMWARE"));
    if (!context.Rest().isEmpty())
        return context.BadUsage(QStringLiteral("unexpected argument: ") + context.Rest().first());
    const auto position =
        TakeChecksumPosition(positionText.value_or(context.settings.checksumPosition));
    if (!position)
        return context.BadUsage(QStringLiteral("--position takes a hexadecimal position"));
    int status = kDone;
    auto image = ReadInput(context, *in, status);
    if (!image) return status;
    const FirmwareChecksums sums = ComputeFirmwareChecksums(*image, nullptr);
    if (sums.shortImage) context.err() << Msg(421) << Qt::endl;
    for (std::uint32_t crc : sums.crcs) context.out() << HexText(crc, 8) << Qt::endl;
    if (!out) return kDone;
    const std::int64_t at = HexToInt(*position);
    const bool fits = ChecksumTableFits(at, image->size());
    if (fits) {
        image->replace(at, kChecksumTableSize, sums.table);
    } else {
        context.err() << Msg(426) << Qt::endl;
    }
    if (const auto error = WriteWholeFile(*out, *image)) {
        context.err() << *error << Qt::endl;
        return kFailed;
    }
    return fits ? kDone : kFailed;
}

}  // namespace velarix::cli
