#include "lpt/firmware_upload.h"

#include <QMetaObject>
#include <utility>

#include "eeprom/hex.h"
#include "serial/checksum.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"
#include "shell/settings.h"

namespace velarix {

namespace {

constexpr auto kPage = StatusPage::FirmwareParallel;
const char* const kWords[] = {"DL", "PL", "FL"};

QString NoReplyText() {
    return Msg(43) + QStringLiteral("\r\n") + Msg(44);
}

}  // namespace

bool IsPositiveReply(const QString& line) {
    return line.size() >= 2 && line.at(1) == QLatin1Char('.');
}

std::optional<AddressPreset> PresetOf(const QString& address) {
    static const AddressPreset presets[] = {{0, true}, {2, false}, {2, false}, {1, false}};
    const qsizetype item = FirmwareAddressEntries().indexOf(address);
    if (item < 0) return std::nullopt;
    return presets[item];
}

QString AddressBoxText(const QString& typed) {
    QString kept;
    for (QChar c : typed) {
        const QChar upper = c.toUpper();
        const bool hex = (upper >= QLatin1Char('0') && upper <= QLatin1Char('9')) ||
                         (upper >= QLatin1Char('A') && upper <= QLatin1Char('F'));
        if (hex && kept.size() < 8) kept += upper;
    }
    return kept;
}

class FirmwareUpload::UploadReplies : public ReplyOwner {
public:
    explicit UploadReplies(FirmwareUpload& upload) : upload_(upload) {}
    void HandleReply(const QString& line) override { upload_.HandleUploadReply(line); }
    void HandleTimeout() override { upload_.HandleUploadTimeout(); }
    void HandleLinkError(const QString& reason) override { upload_.HandleLinkError(reason); }

private:
    FirmwareUpload& upload_;
};

class FirmwareUpload::PortCheckReplies : public ReplyOwner {
public:
    explicit PortCheckReplies(FirmwareUpload& upload) : upload_(upload) {}
    void HandleReply(const QString& line) override { upload_.HandlePortCheckReply(line); }
    void HandleTimeout() override { upload_.HandlePortCheckTimeout(); }
    void HandleLinkError(const QString& reason) override { upload_.HandleLinkError(reason); }

private:
    FirmwareUpload& upload_;
};

FirmwareUpload::FirmwareUpload(ServiceLink& link, OperationFrame& frame, PortTiming& timing,
                               const Settings& settings)
    : link_(link),
      frame_(frame),
      timing_(timing),
      settings_(settings),
      uploadReplies_(std::make_unique<UploadReplies>(*this)),
      portCheckReplies_(std::make_unique<PortCheckReplies>(*this)) {
    link_.SetOwner(OwnerKind::Firmware, uploadReplies_.get());
    link_.SetOwner(OwnerKind::PortCheck, portCheckReplies_.get());
}

FirmwareUpload::~FirmwareUpload() {
    link_.SetOwner(OwnerKind::Firmware, nullptr);
    link_.SetOwner(OwnerKind::PortCheck, nullptr);
}

// The command word chosen on the page now; with none chosen, the one the
// load was sent with.
QString FirmwareUpload::CommandWord() const {
    const int command = settings_.firmwareCommand;
    if (command < 0 || command > 2) return loadWord_;
    return QString::fromLatin1(kWords[command]);
}

bool FirmwareUpload::StartUpload(QByteArray image) {
    loadWord_.clear();
    if (CommandWord().isEmpty()) {
        frame_.ShowMessage(BoxKind::Error, Msg(382));
        if (finished) finished(UploadOutcome::NotStarted);
        return false;
    }
    loadWord_ = CommandWord();
    image_ = std::move(image);
    frame_.BeginBusy();
    link_.BeginOperation(kFirmwareUpload);
    running_ = true;
    phase_ = 0;
    errors_ = 0;
    const QString address = addressText ? addressText() : QString();
    frame_.SetStatusField(kPage, StatusField::Task, Msg(16));
    frame_.SetStatusField(kPage, StatusField::Address, address);
    frame_.SetStatusField(kPage, StatusField::Errors, QStringLiteral("0"));
    frame_.SetProgressMaximum(kPage, static_cast<int>(image_.size()));
    frame_.SetProgress(kPage, 0);
    frame_.Repaint();
    std::uint32_t sum = 0;
    for (char c : image_) sum += static_cast<std::uint8_t>(c);
    const QString command = QLatin1Char('%') + loadWord_ + QLatin1Char('=') + address +
                            HexText(static_cast<std::uint64_t>(image_.size()), 8) +
                            HexText(sum & 0xFFFF, 4);
    return link_.SendCommand(AddChecksum(command));
}

void FirmwareUpload::HandleUploadReply(const QString& line) {
    frame_.AddLogLine(LogPane::Firmware, line);
    frame_.AddLogLine(LogPane::Terminal, line);
    if (transferring_) {
        held_ << line;
        return;
    }
    AnswerUploadReply(line);
}

void FirmwareUpload::AnswerUploadReply(const QString& line) {
    switch (phase_) {
        case 0:
            if (!IsPositiveReply(line)) {
                ++errors_;
                frame_.SetStatusField(kPage, StatusField::Errors, QString::number(errors_));
                frame_.ShowMessage(BoxKind::Error, Msg(40));
                End(UploadOutcome::Refused);
                return;
            }
            // The transfer runs once this reply's handling has returned: a
            // box it shows lets the serial port be read again, and the
            // decoder's report must not be lost inside this handler.
            transferring_ = true;
            QMetaObject::invokeMethod(
                &link_,
                [this, alive = std::weak_ptr<bool>(alive_)] {
                    if (alive.expired()) return;
                    RunTransfer();
                },
                Qt::QueuedConnection);
            return;
        case 1:
            phase_ = 2;
            SendVerifyQuery();
            return;
        default: {
            const bool positive = IsPositiveReply(line);
            if (positive) {
                frame_.ShowMessage(BoxKind::Information, Msg(41));
            } else {
                frame_.ShowMessage(BoxKind::Error, Msg(42));
            }
            frame_.ClearStatus(kPage);
            End(positive ? UploadOutcome::Success : UploadOutcome::DecoderFailure);
            return;
        }
    }
}

// The decoder agreed: the image goes over the parallel port, in one piece.
// What the decoder said meanwhile is handled after it.
void FirmwareUpload::RunTransfer() {
    TransferImage();
    transferring_ = false;
    const QStringList held = std::exchange(held_, {});
    if (!running_ || phase_ != 1) return;  // ended, or the query purges them
    for (const QString& line : held) {
        if (!running_ || phase_ != 1) break;
        AnswerUploadReply(line);
    }
}

void FirmwareUpload::TransferImage() {
    PortOpening opening = openPort ? openPort() : PortOpening{};
    if (!opening.port) {
        if (!opening.error.isEmpty()) frame_.AddLogLine(LogPane::Firmware, opening.error);
        frame_.ShowMessage(BoxKind::Error, opening.error.isEmpty()
                                               ? Msg(39)
                                               : Msg(39) + QStringLiteral("\r\n") + opening.error);
        End(UploadOutcome::TransferFailed);
        return;
    }
    frame_.AddLogLine(LogPane::Firmware, Msg(71) + QStringLiteral(": ") + opening.device);
    Lpt lpt{*opening.port, timing_, opening.base};
    ParallelHandshake handshake(lpt, DelaysOf(settings_), state_, frame_);
    const QString address = addressText ? addressText() : QString();
    const TransferEnd end = handshake.SendImage(image_, address, settings_.showProgress, errors_);
    if (end != TransferEnd::Complete) {
        End(UploadOutcome::TransferFailed);
        return;
    }
    if (settings_.phase12) {
        frame_.AddLogLine(LogPane::Firmware, Msg(38));
        phase_ = 1;
        link_.AwaitReply(kReportTimeoutMs);
    } else {
        phase_ = 2;
        SendVerifyQuery();
    }
}

void FirmwareUpload::SendVerifyQuery() {
    WaitMs(timing_, DelaysOf(settings_).verification);
    link_.SendCommand(AddChecksum(QLatin1Char('%') + CommandWord() + QLatin1Char('?')));
}

void FirmwareUpload::HandleUploadTimeout() {
    frame_.ClearStatus(kPage);
    link_.currentRow = 0;
    const int key = phase_ == 0 ? 43 : phase_ == 1 ? 45 : 46;
    frame_.AddLogLine(LogPane::Firmware, Msg(key));
    frame_.ShowMessage(BoxKind::Error, phase_ == 0 ? NoReplyText() : Msg(key));
    End(UploadOutcome::NoReply);
}

bool FirmwareUpload::StartPortCheck() {
    frame_.BeginBusy();
    link_.BeginOperation(kPortCheck);
    running_ = true;
    return link_.SendCommand(AddChecksum(QStringLiteral("%PR?")));
}

void FirmwareUpload::HandlePortCheckReply(const QString& line) {
    frame_.AddLogLine(LogPane::Firmware, line);
    const bool positive = IsPositiveReply(line);
    if (positive) {
        frame_.ShowMessage(BoxKind::Information, Msg(381));
    } else {
        frame_.ShowMessage(BoxKind::Error, Msg(380));
    }
    End(positive ? UploadOutcome::Success : UploadOutcome::DecoderFailure);
}

void FirmwareUpload::HandlePortCheckTimeout() {
    frame_.AddLogLine(LogPane::Firmware, Msg(43));
    frame_.ShowMessage(BoxKind::Error, NoReplyText());
    End(UploadOutcome::NoReply);
}

void FirmwareUpload::HandleLinkError(const QString& reason) {
    frame_.ClearStatus(kPage);
    frame_.AddLogLine(LogPane::Firmware, reason);
    frame_.ShowMessage(BoxKind::Error, reason);
    End(UploadOutcome::LinkError);
}

// Every end of either operation: the link's replies belong to nobody, the
// pages are free again and the image is let go.
void FirmwareUpload::End(UploadOutcome outcome) {
    running_ = false;
    link_.EndOperation();
    frame_.EndBusy();
    image_ = QByteArray();
    if (finished) finished(outcome);
}

}  // namespace velarix
