#include "jtag/flash_programming.h"

#include <QDateTime>
#include <algorithm>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "jtag/firmware_checksums.h"
#include "jtag/flash_layout.h"
#include "jtag/jtag_operation.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"
#include "shell/whole_file.h"

namespace velarix {

namespace {

constexpr StatusPage kPage = StatusPage::FirmwareJtag;
constexpr std::int64_t kRamStart = 0x40000000;
constexpr std::int64_t kEepromSize = 0x800;
const QString kDashes(40, QLatin1Char('-'));
const QString kBreak = QStringLiteral("\r\n");

// A block the table makes larger than this is no block of a real chip (a
// boundary that did not parse reads FFFFFFFF): the chip is taken to end there.
constexpr std::int64_t kLargestBlock = 0x4000000;

bool UsableBlock(std::int64_t start, std::int64_t end) {
    return end > start && end - start <= kLargestBlock;
}

std::uint32_t Address32(std::int64_t address) {
    return std::uint32_t(address & 0xFFFFFFFF);
}

std::uint32_t PageAddress(const QString& text) {
    return Address32(std::max<std::int64_t>(HexToInt(AddressOnLeaving(text)), 0));
}

// Which chip a write goes to: chosen by the address, or chip 2 only.
enum class Target { ByAddress, ChannelListChip };

// One write from "Enviar": the frame of the operation, the block loop and
// the final report.
class FlashWrite {
public:
    FlashWrite(JtagEnvironment& env, JtagOperation& operation, const WriteOptions& options,
               SendResult& result)
        : env_(env),
          frame_(env.frame),
          access_(operation.Access()),
          options_(options),
          result_(result),
          trapAddress_(Address32(std::max<std::int64_t>(HexToInt(env.settings.trapAddress), 0))) {}

    // Step 6 and ProgramRange: the trap routine, then the blocks. Returns the
    // bytes counted as written.
    std::int64_t ToFlash(const FlashChipLayout& chip, std::uint32_t address,
                         const QByteArray& image);
    // A dry run to RAM: what the range holds now against the image.
    void CompareRam(std::uint32_t address, const QByteArray& image);

private:
    void Log(const QString& line) { frame_.AddLogLine(LogPane::Jtag, line); }
    void EndOfRange() {
        std::uint32_t status = 0;
        access_.ReadWord(TargetAccess::kDcuStatus, status);
        access_.DcuResetOff();
    }
    std::vector<BlockPlan> Plan(const FlashChipLayout& chip, int first, std::uint32_t address,
                                const QByteArray& image, bool& complete);
    bool SaveBackupOf(const FlashChipLayout& chip, const std::vector<BlockPlan>& plan);
    std::int64_t ProgramRange(const FlashChipLayout& chip, std::uint32_t address,
                              const QByteArray& image);
    bool ProgramFlash(std::uint32_t destination, std::uint32_t chipStart, const char* data,
                      std::int64_t offset, std::int64_t count);
    enum class Erase { Done, Failed, PastItsBlock };
    Erase EraseBlock(const FlashChipLayout& chip, int i, std::uint32_t chipStart);
    std::vector<QByteArray> ReadBlockEdges(const FlashChipLayout& chip, int i);

    JtagEnvironment& env_;
    OperationFrame& frame_;
    TargetAccess& access_;
    const WriteOptions& options_;
    SendResult& result_;
    std::uint32_t trapAddress_;
};

std::int64_t FlashWrite::ToFlash(const FlashChipLayout& chip, std::uint32_t address,
                                 const QByteArray& image) {
    access_.DcuResetOn();
    Log(Msg(32));
    std::uint32_t status = 0;
    // The reset line goes down again whatever fails on the way.
    if (!access_.ReadWord(TargetAccess::kDcuStatus, status) ||
        (!options_.dryRun && !access_.LoadTrapHandler(trapAddress_))) {
        access_.DcuResetOff();
        return 0;
    }
    return ProgramRange(chip, address, image);
}

void FlashWrite::CompareRam(std::uint32_t address, const QByteArray& image) {
    access_.DcuResetOn();
    Log(Msg(118));
    const QByteArray now = ReadTargetRange(access_, address, image.size());
    access_.DcuResetOff();
    if (now.size() < image.size()) {
        frame_.ShowMessage(BoxKind::Error,
                           Msg(119) + HexText(address + std::uint32_t(now.size()), 8));
        return;
    }
    result_.ramChanges = BytesChanged(now, address, address, image);
}

// Every block of the write is read before anything is erased: the blocks
// whose bytes already match are skipped, the others' bytes go to the backup.
std::vector<BlockPlan> FlashWrite::Plan(const FlashChipLayout& chip, int first,
                                        std::uint32_t address, const QByteArray& image,
                                        bool& complete) {
    const std::int64_t a = address, z = image.size();
    std::vector<BlockPlan> plan;
    complete = true;
    std::int64_t w = 0;
    for (int i = first; i < chip.Blocks() && w < z; ++i) {
        const std::int64_t bs = chip.BlockStart(i), be = chip.BlockEnd(i);
        if (!UsableBlock(bs, be)) break;  // a table that stops climbing ends the chip
        BlockPlan block;
        block.start = Address32(bs);
        block.end = Address32(be);
        block.destination = Address32(a + w);
        block.imageOffset = w;
        block.count = bs < a ? (a + z < be ? z : be - a) : (a + z < be ? z - w : be - bs);
        block.contents = ReadTargetRange(access_, block.start, be - bs, [&](std::int64_t done) {
            frame_.SetStatusField(kPage, StatusField::Address, HexText(block.start + done, 8));
            frame_.Repaint();
        });
        if (block.contents.size() < be - bs) {
            complete = false;
            frame_.ShowMessage(BoxKind::Error,
                               Msg(119) + HexText(block.start + block.contents.size(), 8));
            break;
        }
        const QByteArrayView data(image.constData() + w, block.count);
        block.skip = !env_.settings.forceFlash && block.count == be - bs && block.contents == data;
        block.changes = BytesChanged(block.contents, block.start, block.destination, data);
        plan.push_back(std::move(block));
        w += plan.back().count;
    }
    return plan;
}

// The bytes from the first block to be erased to the end of the last one.
bool FlashWrite::SaveBackupOf(const FlashChipLayout& chip, const std::vector<BlockPlan>& plan) {
    QByteArray bytes;
    std::optional<std::uint32_t> from;
    std::size_t last = 0;
    for (std::size_t k = 0; k < plan.size(); ++k) {
        if (plan[k].skip) continue;
        if (!from) from = plan[k].start;
        last = k;
    }
    for (std::size_t k = 0; from && k <= last; ++k) {
        if (plan[k].start >= *from) bytes += plan[k].contents;
    }
    const BackupWritten saved =
        SaveBackup(env_.settings.folder, QDateTime::currentDateTime(), chip.number, *from, bytes);
    if (!saved.path.isEmpty()) {
        result_.backup = saved.path;
        Log(Msg(423) + saved.path);
        return true;
    }
    Log(Msg(424));
    frame_.ShowMessage(BoxKind::Error, Msg(424) + kBreak + saved.error);
    return false;
}

bool FlashWrite::ProgramFlash(std::uint32_t destination, std::uint32_t chipStart, const char* data,
                              std::int64_t offset, std::int64_t count) {
    Log(Msg(268) + HexText(destination, 8));
    const std::uint32_t staging = trapAddress_ + kTrapStagingOffset;
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(data);
    if (access_.WriteMemory(bytes, staging, destination, offset, count) < count) return false;
    return access_.TrapProgramFlash(destination, staging, std::uint32_t(count), chipStart);
}

std::int64_t FlashWrite::ProgramRange(const FlashChipLayout& chip, std::uint32_t address,
                                      const QByteArray& image) {
    const std::int64_t a = address, z = image.size();
    const Settings& settings = env_.settings;
    Log(Msg(358));
    int i = chip.BlockAt(a);
    if (i < 0) {
        frame_.ShowMessage(BoxKind::Error, Msg(262));
        EndOfRange();
        return 0;
    }

    bool complete = false;
    std::vector<BlockPlan> plan = Plan(chip, i, address, image, complete);
    if (options_.dryRun || !complete) {
        if (options_.dryRun) {
            std::int64_t covered = 0;
            for (const BlockPlan& block : plan) covered += block.count;
            // As a write would end: at the first address the chip does not hold.
            if (complete && covered < z) {
                frame_.ShowMessage(BoxKind::Error, Msg(119) + HexText(Address32(a + covered), 8));
            }
            result_.plan = std::move(plan);
        }
        EndOfRange();
        return 0;
    }
    const bool erasing = std::any_of(plan.begin(), plan.end(), [](auto& b) { return !b.skip; });
    if (erasing && (!CableIsSteady(access_, frame_) || !SaveBackupOf(chip, plan))) {
        EndOfRange();
        return 0;
    }

    const std::uint32_t chipStart = Address32(chip.start);
    std::int64_t w = 0;
    std::size_t planned = 0;  // the next block whose first look is the plan's read
    int retriedBlock = -1, retried = 0;
    bool erasedAny = false;
    while (i < chip.Blocks() && w < z) {
        const std::int64_t bs = chip.BlockStart(i), be = chip.BlockEnd(i);
        if (!UsableBlock(bs, be)) break;
        const std::int64_t n = bs < a ? (a + z < be ? z : be - a) : (a + z < be ? z - w : be - bs);
        const QByteArrayView data(image.constData() + w, n);
        // A retried block is read again: the plan's read is from before its erase.
        const BlockPlan* first = planned < plan.size() && plan[planned].start == Address32(bs)
                                     ? &plan[planned]
                                     : nullptr;
        if (first) ++planned;
        Log(kDashes);

        bool same = false;
        if (!settings.forceFlash && n == be - bs) {
            Log(Msg(255) + HexText(Address32(a + w), 8));
            QByteArray now = first ? first->contents : QByteArray();
            // What the plan found identical is looked at again once anything
            // has been erased: an erase may have reached it.
            if (!first || (erasedAny && now == data))
                now = ReadTargetRange(access_, Address32(a + w), n);
            if (now == data) {
                same = true;
                Log(Msg(256));
                w += n;
                frame_.SetProgress(kPage, int(w));
                frame_.SetStatusField(kPage, StatusField::Address, HexText(Address32(a + w), 8));
            }
        }
        bool programmed = false;
        std::optional<std::int64_t> differs;  // the first byte read back wrong
        if (!same) {
            erasedAny = true;
            const Erase erase = EraseBlock(chip, i, chipStart);
            if (erase == Erase::PastItsBlock) {
                const QString text = Msg(442).arg(HexText(Address32(bs), 8));
                Log(text);
                frame_.ShowMessage(BoxKind::Error, text);
                break;
            }
            if (erase == Erase::Done &&
                ProgramFlash(Address32(a + w), chipStart, data.data(), w, n)) {
                w += n;
                programmed = true;
            }
            if (settings.verifyFlash && programmed) {
                Log(Msg(257) + HexText(Address32(a + w - n), 8));
                frame_.Repaint();
                const QByteArray back = ReadTargetRange(access_, Address32(a + w - n), n);
                qsizetype k = 0;
                while (k < back.size() && back.at(k) == data.at(k)) ++k;
                same = k == n;
                if (same) {
                    Log(Msg(346));
                } else {
                    differs = k;
                }
            } else {
                same = programmed;
            }
        }
        if (same) {
            ++i;
            continue;
        }
        if (programmed) w -= n;
        const QString question =
            differs ? Msg(258) + QLatin1Char(' ') + QString::number(w + *differs + 1)
                    : Msg(259) + kBreak + Msg(260) + kBreak + Msg(261);
        AbortRetryIgnore answer = frame_.AskAbortRetryIgnore(question);
        if (answer == AbortRetryIgnore::Retry && options_.retriesPerBlock > 0) {
            retried = retriedBlock == i ? retried + 1 : 1;
            retriedBlock = i;
            if (retried > options_.retriesPerBlock) answer = AbortRetryIgnore::Abort;
        }
        if (answer == AbortRetryIgnore::Abort) break;
        if (answer == AbortRetryIgnore::Ignore) {
            result_.ignoredBlocks << Address32(bs);
            ++i;
            w += n;
        }
    }
    EndOfRange();
    return w;
}

// The four bytes on either side of block i that the chip holds.
std::vector<QByteArray> FlashWrite::ReadBlockEdges(const FlashChipLayout& chip, int i) {
    constexpr std::int64_t kEdge = 4;
    std::vector<QByteArray> edges;
    if (chip.BlockStart(i) - kEdge >= chip.start)
        edges.push_back(ReadTargetRange(access_, Address32(chip.BlockStart(i) - kEdge), kEdge));
    if (chip.BlockEnd(i) + kEdge <= chip.End())
        edges.push_back(ReadTargetRange(access_, Address32(chip.BlockEnd(i)), kEdge));
    return edges;
}

// A chip whose sectors are not those of the flash type the settings chose
// erases more than the block asked for, and wipes bytes this write has
// already programmed or found identical while every block verifies. The
// bytes just outside the block are read before and after its erase; when
// they changed, the write stops there and says why. (Edges that were
// erased already cannot tell; the blocks the plan found identical are
// read again when reached, so those are still written.)
FlashWrite::Erase FlashWrite::EraseBlock(const FlashChipLayout& chip, int i,
                                         std::uint32_t chipStart) {
    const std::vector<QByteArray> before = ReadBlockEdges(chip, i);
    if (!access_.TrapEraseBlock(Address32(chip.BlockStart(i)), chipStart, chip.erasureMode))
        return Erase::Failed;
    const std::vector<QByteArray> after = ReadBlockEdges(chip, i);
    for (std::size_t k = 0; k < before.size() && k < after.size(); ++k) {
        // A short read is a link fault, which programming will meet and tell.
        if (before[k].size() == after[k].size() && before[k] != after[k])
            return Erase::PastItsBlock;
    }
    return Erase::Done;
}

// Steps 2 to 8 of a write to flash or RAM: the frame, the chip, the blocks,
// the final report.
SendResult WriteImage(JtagEnvironment& env, const QString& addressText, QByteArray image,
                      Target target, const WriteOptions& options) {
    OperationFrame& frame = env.frame;
    const Settings& settings = env.settings;
    SendResult result;
    result.size = image.size();
    const QString shownAddress = AddressOnLeaving(addressText);
    frame.BeginBusy();
    frame.AddLogLine(LogPane::Jtag, Msg(271) + QLatin1Char(' ') + ModelName(settings));
    frame.AddLogLine(LogPane::Jtag, Msg(272) + QStringLiteral(" : ") + FlashTypeName(settings, 0));
    frame.AddLogLine(LogPane::Jtag, Msg(352) + QLatin1Char(' ') + settings.chips[0].start);
    frame.AddLogLine(LogPane::Jtag, Msg(273) + QStringLiteral(" : ") + FlashTypeName(settings, 1));
    frame.AddLogLine(LogPane::Jtag, Msg(353) + QLatin1Char(' ') + settings.chips[1].start);
    frame.AddLogLine(LogPane::Jtag, Msg(354) + QLatin1Char(' ') + shownAddress);
    JtagOperation operation(env);
    if (!operation.Open()) {
        frame.EndBusy();
        result.outcome = SendOutcome::NoPort;
        return result;
    }
    const std::uint32_t address = PageAddress(addressText);
    const std::int64_t z = image.size();
    frame.SetStatusField(kPage, StatusField::Task, Msg(5));
    frame.SetStatusField(kPage, StatusField::Address, HexText(address, 8));
    frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
    frame.SetProgressMaximum(kPage, int(z));
    frame.SetProgress(kPage, 0);

    FlashWrite write(env, operation, options, result);
    const FlashChipLayout chip1 = ChipLayout(settings, 0);
    const FlashChipLayout chip2 = ChipLayout(settings, 1);
    std::int64_t w = 0;
    bool report = !options.dryRun;
    if (target == Target::ByAddress && chip1.Contains(address)) {
        result.chip = 1;
        frame.AddLogLine(LogPane::Jtag, Msg(355));
        const auto position = ChecksumPositionOf(settings.checksumPosition);
        if (settings.addFirmwareChecksum && position) {
            InsertFirmwareChecksums(image, *position, &frame);
        }
        w = write.ToFlash(chip1, address, image);
    } else if (chip2.Contains(address)) {
        result.chip = 2;
        frame.AddLogLine(LogPane::Jtag, Msg(356));
        w = write.ToFlash(chip2, address, image);
    } else if (target == Target::ChannelListChip) {
        frame.ShowMessage(BoxKind::Error, Msg(342));
        result.outcome = SendOutcome::Refused;
        report = false;
    } else if (options.dryRun) {
        write.CompareRam(address, image);
    } else {
        w = operation.Access().WriteMemoryToRam(
            reinterpret_cast<const std::uint8_t*>(image.constData()), address, z);
        frame.AddLogLine(LogPane::Jtag, Msg(357));
    }
    result.written = w;

    if (report) {
        frame.SetStatusField(kPage, StatusField::Address, HexText(Address32(address + w - 1), 8));
        frame.SetProgress(kPage, int(w));
        frame.Repaint();
        // A block the person chose to ignore was not written, so the write
        // is not reported as done.
        QString failure;
        if (w < z) failure = Msg(119) + HexText(Address32(address + w), 8);
        if (!result.ignoredBlocks.isEmpty()) {
            QStringList blocks;
            for (std::uint32_t block : result.ignoredBlocks) blocks << HexText(block, 8);
            if (!failure.isEmpty()) failure += kBreak;
            failure += Msg(420) + blocks.join(QStringLiteral(", "));
        }
        if (failure.isEmpty()) {
            frame.AddLogLine(LogPane::Jtag, Msg(199));
            frame.ShowMessage(BoxKind::Information, Msg(199));
            result.outcome = SendOutcome::Done;
        } else {
            frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("1"));
            frame.AddLogLine(LogPane::Jtag, failure);
            frame.ShowMessage(BoxKind::Error, failure);
            result.outcome = SendOutcome::Failed;
        }
    } else if (options.dryRun) {
        const bool read = result.ramChanges || (!result.plan.empty() && [&] {
                              std::int64_t covered = 0;
                              for (const BlockPlan& b : result.plan) covered += b.count;
                              return covered >= z;
                          }());
        result.outcome = read ? SendOutcome::DryRun : SendOutcome::Failed;
    }
    frame.ClearStatus(kPage);
    operation.Close();
    frame.EndBusy();
    return result;
}

// A table from its source: the image, or the refusal already shown.
std::optional<QByteArray> TableFrom(const TableImageSource& source, OperationFrame& frame) {
    const TableImageToSend table = source ? source() : TableImageToSend{{}, Msg(195)};
    if (!table.refusal.isEmpty()) {
        frame.ShowMessage(BoxKind::Error, table.refusal);
        return std::nullopt;
    }
    return table.bytes;
}

}  // namespace

SendResult WriteImageToTarget(JtagEnvironment& env, const QString& addressText, QByteArray image,
                              const WriteOptions& options) {
    return WriteImage(env, addressText, std::move(image), Target::ByAddress, options);
}

SendResult WriteFileToTarget(JtagEnvironment& env, const QString& addressText,
                             const std::function<std::optional<QString>()>& chooseFile) {
    const std::optional<QString> path = chooseFile ? chooseFile() : std::nullopt;
    if (!path) return {};
    FileRead file = ReadWholeFile(*path);
    if (!file.ok()) {
        env.frame.ShowMessage(BoxKind::Error, Msg(200) + QLatin1Char('\n') + file.error);
        SendResult refused;
        refused.outcome = SendOutcome::Refused;
        return refused;
    }
    return WriteImageToTarget(env, addressText, std::move(file.bytes));
}

SendResult WriteFlashChannelTable(JtagEnvironment& env, const QString& addressText,
                                  const TableImageSource& table) {
    const auto bytes = TableFrom(table, env.frame);
    if (!bytes) {
        SendResult refused;
        refused.outcome = SendOutcome::Refused;
        return refused;
    }
    return WriteImage(env, addressText, *bytes, Target::ChannelListChip, {});
}

SendResult WriteRamChannelTable(JtagEnvironment& env, const QString& addressText,
                                const TableImageSource& table) {
    OperationFrame& frame = env.frame;
    SendResult result;
    const auto bytes = TableFrom(table, frame);
    if (!bytes) {
        result.outcome = SendOutcome::Refused;
        return result;
    }
    result.size = bytes->size();
    frame.BeginBusy();
    JtagOperation operation(env);
    if (!operation.Open()) {
        frame.EndBusy();
        result.outcome = SendOutcome::NoPort;
        return result;
    }
    const std::uint32_t address = PageAddress(addressText);
    if (address < kRamStart) {
        frame.ShowMessage(BoxKind::Error, Msg(342));
        result.outcome = SendOutcome::Refused;
    } else {
        frame.SetStatusField(kPage, StatusField::Task, Msg(5));
        frame.SetStatusField(kPage, StatusField::Address, HexText(address, 8));
        frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
        frame.SetProgressMaximum(kPage, int(result.size));
        frame.SetProgress(kPage, 0);
        frame.AddLogLine(LogPane::Eeprom, Msg(357));
        result.written = operation.Access().WriteMemoryToRam(
            reinterpret_cast<const std::uint8_t*>(bytes->constData()), address, result.size);
        frame.SetStatusField(kPage, StatusField::Address,
                             HexText(Address32(address + result.written - 1), 8));
        if (result.written >= result.size) {
            frame.AddLogLine(LogPane::Jtag, Msg(199));
            frame.ShowMessage(BoxKind::Information, Msg(199));
            result.outcome = SendOutcome::Done;
        } else {
            const QString failure = Msg(119) + HexText(Address32(address + result.written), 8);
            frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("1"));
            frame.AddLogLine(LogPane::Jtag, failure);
            frame.ShowMessage(BoxKind::Error, failure);
            result.outcome = SendOutcome::Failed;
        }
    }
    frame.ClearStatus(kPage);
    operation.Close();
    frame.EndBusy();
    return result;
}

SendResult WriteEepromToTarget(JtagEnvironment& env, const QString& addressText,
                               const QString& lengthText, const EepromImage& image) {
    OperationFrame& frame = env.frame;
    SendResult result;
    frame.BeginBusy();
    JtagOperation operation(env);
    if (!operation.Open()) {
        frame.EndBusy();
        result.outcome = SendOutcome::NoPort;
        return result;
    }
    const std::int64_t address = PageAddress(addressText);
    const std::int64_t length = HexToInt(LengthOnLeaving(lengthText));
    result.size = length;
    std::optional<int> invalid;
    if (address < kEepromSize && address + length <= kEepromSize) {
        for (int cell = int(address); cell < address + length && !invalid; ++cell) {
            if (!IsByteText(image.Cell(cell))) invalid = cell;
        }
    }
    if (address >= kEepromSize || address + length > kEepromSize) {
        frame.ShowMessage(BoxKind::Error, Msg(342));
        result.outcome = SendOutcome::Refused;
    } else if (invalid) {
        // A cell that holds no byte would go out as FF: nothing is sent.
        frame.ShowMessage(BoxKind::Error, Msg(192) + CellAddressText(*invalid) + Msg(193));
        result.outcome = SendOutcome::Refused;
    } else {
        TargetAccess& access = operation.Access();
        const std::uint32_t trapAddress =
            Address32(std::max<std::int64_t>(HexToInt(env.settings.trapAddress), 0));
        const std::uint32_t staging = trapAddress + kTrapStagingOffset;
        const QByteArray bytes = image.GetImageBytes().mid(address, length);
        frame.SetStatusField(kPage, StatusField::Task, Msg(5));
        frame.SetStatusField(kPage, StatusField::Address, HexText(address, 8));
        frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
        frame.SetProgressMaximum(kPage, int(length));
        frame.SetProgress(kPage, 0);
        access.DcuResetOn();
        std::uint32_t status = 0;
        // Nothing goes to a debug controller that does not answer, and its
        // status is read again at the end only when it answered at first.
        const bool answers = access.ReadWord(TargetAccess::kDcuStatus, status);
        bool done = answers && access.LoadTrapHandler(trapAddress);
        if (done) {
            frame.AddLogLine(LogPane::Jtag, Msg(330));
            frame.Repaint();
            result.written =
                access.WriteMemory(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                   staging, std::uint32_t(address), 0, length);
            done = result.written == length &&
                   access.TrapWriteEeprom(std::uint32_t(address), std::uint32_t(length), staging);
        }
        const QString report = Msg(done ? 22 : 338);
        frame.AddLogLine(LogPane::Jtag, report);
        if (!done) frame.SetStatusField(kPage, StatusField::Errors, QStringLiteral("1"));
        frame.ShowMessage(done ? BoxKind::Information : BoxKind::Error, report);
        result.outcome = done ? SendOutcome::Done : SendOutcome::Failed;
        if (!done) result.written = 0;
        if (answers) access.ReadWord(TargetAccess::kDcuStatus, status);
        access.DcuResetOff();
    }
    frame.ClearStatus(kPage);
    operation.Close();
    frame.EndBusy();
    return result;
}

SendResult SendToTarget(JtagEnvironment& env, ReadDestination source, const QString& addressText,
                        const QString& lengthText, const SendSources& sources) {
    switch (source) {
        case ReadDestination::File:
            return WriteFileToTarget(env, addressText, sources.chooseFile);
        case ReadDestination::FlashTable:
            return WriteFlashChannelTable(env, addressText, sources.flashTable);
        case ReadDestination::RamTable:
            return WriteRamChannelTable(env, addressText, sources.ramTable);
        case ReadDestination::Eeprom:
            if (!sources.eeprom) return {};
            return WriteEepromToTarget(env, addressText, lengthText, *sources.eeprom);
        case ReadDestination::Picture:
            return {};
    }
    return {};
}

}  // namespace velarix
