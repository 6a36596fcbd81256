#include "serial/service_link.h"

#include "eeprom/hex.h"
#include "shell/cp1252.h"
#include "shell/message_table.h"
#include "shell/operation_frame.h"

namespace velarix {

bool IsEepromMode(std::uint8_t mode) {
    return (mode >= 1 && mode <= 3) || (mode >= 5 && mode <= 10);
}

ServiceLink::ServiceLink(LinkPort& port, Clock& clock, OperationFrame& frame, QObject* parent)
    : QObject(parent), port_(port), clock_(clock), frame_(frame), timer_(clock.MakeTimer()) {
    timer_->onTimeout = [this] { TimedOut(); };
    connect(&port_, &LinkPort::Received, this, &ServiceLink::Receive);
}

ServiceLink::~ServiceLink() = default;

void ServiceLink::SetOwner(OwnerKind kind, ReplyOwner* owner) {
    owners_[static_cast<int>(kind)] = owner;
}

void ServiceLink::BeginOperation(std::uint8_t mode) {
    mode_ = mode;
    running_ = mode != kTerminal && mode != kNoOperation;
}

void ServiceLink::EndOperation() {
    running_ = false;
    timer_->Stop();
}

ReplyOwner* ServiceLink::OwnerOf(std::uint8_t mode) const {
    if (IsEepromMode(mode)) return owners_[static_cast<int>(OwnerKind::Eeprom)];
    if (mode == kFirmwareUpload) return owners_[static_cast<int>(OwnerKind::Firmware)];
    if (mode == kPortCheck) return owners_[static_cast<int>(OwnerKind::PortCheck)];
    return owners_[static_cast<int>(OwnerKind::Terminal)];
}

// A line that no running operation claims is a terminal line.
ReplyOwner* ServiceLink::Owner() const {
    return running_ ? OwnerOf(mode_) : owners_[static_cast<int>(OwnerKind::Terminal)];
}

// Lines go out in the Windows code page of the program's text files; a
// character it lacks is sent as "?".
bool ServiceLink::SendCommand(const QString& line) {
    return SendBytes(ToCp1252(line));
}

// The logs show the line as it was sent.
bool ServiceLink::SendBytes(const QByteArray& bytes) {
    const QString line = FromCp1252(bytes);
    QString error;
    if (!port_.Open(&error)) {
        if (auto* owner = OwnerOf(mode_)) owner->HandleLinkError(error);
        return false;
    }
    port_.Purge();
    if (IsEepromMode(mode_)) {
        frame_.SetStatusField(StatusPage::Eeprom, StatusField::Address,
                              HexText(currentRow, 2) + QLatin1Char('0'));
        frame_.AddLogLine(LogPane::Eeprom, line);
    } else if (mode_ == kFirmwareUpload || mode_ == kPortCheck) {
        frame_.AddLogLine(LogPane::Firmware, line);
    }
    frame_.AddLogLine(LogPane::Terminal, line);
    timer_->Start(kReplyTimeoutMs);
    if (!port_.Write(bytes, &error)) {
        timer_->Stop();
        if (auto* owner = OwnerOf(mode_)) owner->HandleLinkError(error);
        return false;
    }
    return true;
}

void ServiceLink::AwaitReply(int milliseconds) {
    timer_->Start(milliseconds);
}

// A reply that stops before its carriage return keeps the time-out running
// from its last character, so that it ends through the time-out handling;
// one that keeps coming without it is cut off at kMaxReplyLength.
void ServiceLink::Receive(const QByteArray& bytes) {
    buffer_ += QString::fromLatin1(bytes);
    if (buffer_.size() > kMaxReplyLength) {
        DropOverlongReply();
        return;
    }
    const bool complete = buffer_.size() > 1 && buffer_.endsWith(QLatin1Char('\r'));
    if (!complete) {
        if (timer_->IsActive()) timer_->Start(kReplyTimeoutMs);
        return;
    }
    timer_->Stop();
    const QString line = buffer_;
    buffer_.clear();
    if (auto* owner = Owner()) owner->HandleReply(line);
}

void ServiceLink::DropOverlongReply() {
    buffer_.clear();
    timer_->Stop();
    ReplyOwner* owner = Owner();
    if (owner && owner->HandleFailedReply(Msg(431))) return;
    if (owner) owner->HandleTimeout();
    frame_.EndBusy();
}

// The part of a reply that was still coming is dropped with the operation it
// belonged to, so that it cannot run into the next operation's first reply.
void ServiceLink::TimedOut() {
    buffer_.clear();
    if (auto* owner = Owner()) owner->HandleTimeout();
    timer_->Stop();
    frame_.EndBusy();
}

}  // namespace velarix
