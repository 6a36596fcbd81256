#include "serial/eeprom_transfer.h"

#include "eeprom/eeprom_image.h"
#include "eeprom/hex.h"
#include "eeprom/hex_editing.h"
#include "serial/checksum.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/transfer_rate.h"

namespace velarix {

namespace {

constexpr auto kPage = StatusPage::Eeprom;
const QString kRefusal = QStringLiteral("$?C0");

// An accepted read reply is the four characters of its answer, the 32
// upper-case hexadecimal digits of the row, and its carriage return, nothing
// else: a line with more (a status line run into it, noise before it) would
// put other characters at the places of the data.
bool IsReadData(const QString& line) {
    return line.size() == 4 + 32 + 1 && line.endsWith(QLatin1Char('\r')) &&
           IsHexText(QStringView(line).mid(4, 32));
}

// The operation code, row limit and progress maximum of each choice.
struct Plan {
    std::uint8_t mode[3];  // read, write, verify
    int rowLimit;
    int progressMaximum;  // -1: unchanged
};
constexpr Plan kPlans[] = {
    {{kEepromRead, kEepromWrite, kEepromVerify}, 128, 127},
    {{kEepromReadFirst, kEepromWriteFirst, kEepromVerifyFirst}, 11, 10},
    {{kEepromReadRow, kEepromWriteRow, kEepromVerifyRow}, 0, -1},
};

// The two lines of an end box are joined by a line feed, then a carriage return.
QString TwoLines(int first, int second) {
    return Msg(first) + QStringLiteral("\n\r") + Msg(second);
}

}  // namespace

EepromTransfer::EepromTransfer(ServiceLink& link, EepromImage& image, HexEditing& editing,
                               OperationFrame& frame)
    : link_(link), image_(image), editing_(editing), frame_(frame) {
    link_.SetOwner(OwnerKind::Eeprom, this);
}

bool EepromTransfer::Start(EepromOperation operation, EepromLength length) {
    if (operation != EepromOperation::Read && !ValidateImage(image_, frame_)) {
        Report(TransferOutcome::InvalidImage);
        return false;
    }
    operation_ = operation;
    frame_.BeginBusy();
    if (showHexEditor) showHexEditor();
    link_.currentRow = 0;
    errorCount_ = 0;
    mismatches_.clear();
    static const int kTaskKeys[] = {4, 5, 6};
    frame_.SetStatusField(kPage, StatusField::Task, Msg(kTaskKeys[static_cast<int>(operation)]));
    frame_.SetStatusField(kPage, StatusField::Address, QStringLiteral("000"));
    frame_.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
    frame_.SetProgress(kPage, 0);
    const Plan& plan = kPlans[static_cast<int>(length)];
    rowLimit_ = plan.rowLimit;
    if (plan.progressMaximum >= 0) frame_.SetProgressMaximum(kPage, plan.progressMaximum);
    if (length == EepromLength::SelectedRow) {
        link_.currentRow = static_cast<std::uint8_t>(editing_.SelectedRow() - 1);
    }
    link_.BeginOperation(plan.mode[static_cast<int>(operation)]);
    startTick_ = link_.Time().Tick();
    running_ = true;
    return link_.SendCommand(CommandForCurrentRow());
}

QString EepromTransfer::CommandForCurrentRow() const {
    const QString address = HexText(link_.currentRow, 2) + QStringLiteral("010");
    if (operation_ == EepromOperation::Write) {
        return AddChecksum(QStringLiteral("%EE=") + address + image_.RowText(link_.currentRow));
    }
    return AddChecksum(QStringLiteral("%EE?") + address);
}

void EepromTransfer::HandleReply(const QString& line) {
    frame_.AddLogLine(LogPane::Eeprom, line);
    frame_.AddLogLine(LogPane::Terminal, line);
    if (line.startsWith(kRefusal)) {
        CountFailure();
    } else if (operation_ == EepromOperation::Read && !IsReadData(line)) {
        frame_.AddLogLine(LogPane::Eeprom, Msg(432));
        CountFailure();
    } else {
        const int row = link_.currentRow;
        const QString data = line.mid(4, 32);
        if (operation_ == EepromOperation::Read) {
            image_.SetRowPairs(row, data);
        } else if (operation_ == EepromOperation::Verify) {
            const bool same = data == image_.RowText(row);
            if (!same) mismatches_.append(row);
            frame_.AddLogLine(LogPane::Eeprom, Msg(same ? 24 : 23));
        }
        ++link_.currentRow;
        errorCount_ = 0;
    }
    Continue();
}

void EepromTransfer::CountFailure() {
    ++errorCount_;
    frame_.SetStatusField(kPage, StatusField::Errors, QString::number(errorCount_));
}

// A reply that flooded past any reply's length counts as one that could not
// be taken.
bool EepromTransfer::HandleFailedReply(const QString& reason) {
    if (!running_) return false;
    frame_.AddLogLine(LogPane::Eeprom, reason);
    frame_.AddLogLine(LogPane::Terminal, reason);
    CountFailure();
    Continue();
    return true;
}

void EepromTransfer::Continue() {
    // A single-row transfer (limit 0) ends after its one reply, whatever it was.
    if (rowLimit_ <= link_.currentRow || errorCount_ >= kRetryLimit) {
        Finish();
        return;
    }
    ShowProgress();
    if (link_.SendCommand(CommandForCurrentRow())) frame_.SetProgress(kPage, link_.currentRow);
}

// The amount left counts one row more than is left, as the speed field
// always has.
void EepromTransfer::ShowProgress() {
    const int row = link_.currentRow;
    const TransferProgress progress{row * 16, rowLimit_ * 16 - (row - 1) * 16,
                                    link_.Time().Tick() - startTick_};
    ShowTransferRate(frame_, kPage, progress, Msg(236), Msg(237));
}

// A refused single-row transfer had its one attempt: it ends as a transfer
// that reached its retry limit, never as a success.
void EepromTransfer::Finish() {
    const bool refused = errorCount_ >= kRetryLimit || (rowLimit_ == 0 && errorCount_ > 0);
    running_ = false;
    link_.EndOperation();
    frame_.ClearStatus(kPage);
    link_.currentRow = 0;
    if (refreshFields) refreshFields();
    frame_.EndBusy();
    if (refused) {
        frame_.ShowMessage(BoxKind::Error,
                           TwoLines(operation_ == EepromOperation::Verify ? 25 : 19, 20));
        Report(TransferOutcome::RetryLimit);
        return;
    }
    switch (operation_) {
        case EepromOperation::Read:
            frame_.ShowMessage(BoxKind::Information, Msg(21));
            break;
        case EepromOperation::Write:
            frame_.ShowMessage(BoxKind::Information, Msg(22));
            break;
        case EepromOperation::Verify:
            frame_.ShowMessage(BoxKind::Information, TwoLines(26, 27));
            break;
    }
    Report(TransferOutcome::Success);
}

// The link disarms its timer and calls EndBusy after this.
void EepromTransfer::HandleTimeout() {
    running_ = false;
    link_.EndOperation();
    frame_.ClearStatus(kPage);
    link_.currentRow = 0;
    frame_.AddLogLine(LogPane::Eeprom, Msg(43));
    frame_.ShowMessage(BoxKind::Error, Msg(43) + QStringLiteral("\r\n") + Msg(44));
    Report(TransferOutcome::NoReply);
}

void EepromTransfer::HandleLinkError(const QString& reason) {
    running_ = false;
    link_.EndOperation();
    frame_.ClearStatus(kPage);
    link_.currentRow = 0;
    frame_.AddLogLine(LogPane::Eeprom, reason);
    frame_.EndBusy();
    frame_.ShowMessage(BoxKind::Error, reason);
    Report(TransferOutcome::LinkError);
}

void EepromTransfer::Report(TransferOutcome outcome) {
    if (finished) finished(outcome);
}

}  // namespace velarix
