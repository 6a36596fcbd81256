#include "jtag/flash_erase.h"

#include <QDateTime>
#include <algorithm>

#include "eeprom/hex.h"
#include "jtag/flash_layout.h"
#include "jtag/jtag_operation.h"
#include "jtag/memory_readout.h"
#include "jtag/safe_flashing.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"

namespace velarix {

namespace {

const QString kBreak = QStringLiteral("\r\n");
// No chip the program knows of is larger; a table that says more is wrong.
constexpr std::int64_t kLargestChip = 0x4000000;

void LogAndShow(OperationFrame& frame, BoxKind kind, const QString& text) {
    frame.AddLogLine(LogPane::Jtag, text);
    frame.ShowMessage(kind, text);
}

// The whole chip is read and saved before a byte of it is erased.
bool BackUpChip(JtagEnvironment& env, TargetAccess& access, const FlashChipLayout& chip,
                EraseResult& result) {
    OperationFrame& frame = env.frame;
    const std::int64_t size = chip.End() - chip.start;
    QString why;
    if (size <= 0 || size > kLargestChip) {
        why = HexText(std::uint32_t(chip.start), 8) + QLatin1Char('-') +
              HexText(std::uint32_t(chip.End()), 8);
    } else {
        frame.AddLogLine(LogPane::Jtag, Msg(118));
        // The read of a whole chip takes a while: the page shows how far it is.
        constexpr StatusPage kPage = StatusPage::FirmwareJtag;
        frame.SetStatusField(kPage, StatusField::Task, Msg(4));
        frame.SetProgressMaximum(kPage, int(size));
        frame.Repaint();
        const QByteArray bytes =
            ReadTargetRange(access, std::uint32_t(chip.start), size, [&](std::int64_t done) {
                frame.SetProgress(kPage, int(done));
                frame.SetStatusField(kPage, StatusField::Address,
                                     HexText(std::uint32_t(chip.start + done), 8));
                frame.Repaint();
            });
        frame.ClearStatus(kPage);
        if (bytes.size() < size) {
            why = Msg(119) + HexText(std::uint32_t(chip.start + bytes.size()), 8);
        } else {
            const BackupWritten saved =
                SaveBackup(env.settings.folder, QDateTime::currentDateTime(), chip.number,
                           std::uint32_t(chip.start), bytes);
            if (!saved.path.isEmpty()) {
                result.backup = saved.path;
                frame.AddLogLine(LogPane::Jtag, Msg(423) + saved.path);
                return true;
            }
            why = saved.error;
        }
    }
    frame.AddLogLine(LogPane::Jtag, Msg(424));
    frame.ShowMessage(BoxKind::Error, Msg(424) + kBreak + why);
    return false;
}

}  // namespace

QString EraseWarningText() {
    return Msg(331) + kBreak + kBreak + Msg(332) + kBreak + kBreak + Msg(333) + kBreak + Msg(334);
}

EraseResult EraseFromPage(JtagEnvironment& env, const QString& addressText, EraseMethod method) {
    OperationFrame& frame = env.frame;
    EraseResult result;
    if (!frame.AskOkCancel(BoxKind::Warning, EraseWarningText())) {
        frame.EndBusy();
        return result;
    }
    frame.BeginBusy();
    JtagOperation operation(env);
    if (!operation.Open()) {
        frame.EndBusy();
        result.outcome = EraseOutcome::NoPort;
        return result;
    }
    const std::int64_t address = std::max<std::int64_t>(HexToInt(AddressOnLeaving(addressText)), 0);
    const FlashChipLayout chips[] = {ChipLayout(env.settings, 0), ChipLayout(env.settings, 1)};
    const FlashChipLayout* chip = nullptr;
    for (const FlashChipLayout& c : chips) {
        if (!chip && c.start >= 0 && c.start == address) chip = &c;
    }
    if (!chip) {
        // Nothing is erased at an address that starts no chip.
        const QString refusal = Msg(422) + kBreak + Msg(352) + QLatin1Char(' ') +
                                env.settings.chips[0].start + kBreak + Msg(353) + QLatin1Char(' ') +
                                env.settings.chips[1].start;
        frame.AddLogLine(LogPane::Jtag, Msg(422));
        frame.ShowMessage(BoxKind::Error, refusal);
        result.outcome = EraseOutcome::Refused;
    } else {
        result.chip = chip->number;
        result.outcome = EraseOutcome::Failed;
        TargetAccess& access = operation.Access();
        const std::uint32_t trapAddress = std::uint32_t(
            std::max<std::int64_t>(HexToInt(env.settings.trapAddress), 0) & 0xFFFFFFFF);
        const std::uint32_t start = std::uint32_t(chip->start);
        access.DcuResetOn();
        std::uint32_t status = 0;
        if (access.ReadWord(TargetAccess::kDcuStatus, status) &&
            access.LoadTrapHandler(trapAddress) && CableIsSteady(access, frame) &&
            BackUpChip(env, access, *chip, result)) {
            if (method == EraseMethod::ByBlocks) {
                // Every block of the table, however many there are.
                for (int i = 0; i < chip->Blocks(); ++i) {
                    const std::uint32_t block = std::uint32_t(chip->BlockStart(i));
                    if (access.TrapEraseBlock(block, start, chip->erasureMode)) {
                        frame.AddLogLine(LogPane::Jtag, Msg(359));
                    } else {
                        ++result.blocksFailed;
                        LogAndShow(frame, BoxKind::Error, Msg(335) + HexText(block, 8));
                    }
                }
                if (result.blocksFailed == 0) result.outcome = EraseOutcome::Done;
            } else if (access.TrapEraseChip(start)) {
                frame.ShowMessage(BoxKind::Information, Msg(360));
                frame.AddLogLine(LogPane::Jtag, Msg(360));
                result.outcome = EraseOutcome::Done;
            } else {
                frame.ShowMessage(BoxKind::Error, Msg(336));
                frame.AddLogLine(LogPane::Jtag, Msg(336));
            }
            access.ReadWord(TargetAccess::kDcuStatus, status);
        }
        access.DcuResetOff();
    }
    operation.Close();
    frame.EndBusy();
    return result;
}

}  // namespace velarix
