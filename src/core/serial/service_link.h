#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

#include "serial/link_port.h"
#include "shell/clock.h"

namespace velarix {

class OperationFrame;

// An operation that owns the replies of the serial link while it runs.
class ReplyOwner {
public:
    virtual ~ReplyOwner() = default;
    // A complete reply line, carriage return included.
    virtual void HandleReply(const QString& line) = 0;
    // No complete reply within the time-out.
    virtual void HandleTimeout() = 0;
    // The port could not be opened or written: the system's reason.
    virtual void HandleLinkError(const QString& reason) = 0;
    // A reply the link dropped, for it grew far beyond any reply without its
    // carriage return: `reason` says so. An owner that carries on (asks
    // again, logs it) returns true; by default the operation ends as at a
    // time-out.
    virtual bool HandleFailedReply(const QString& reason) {
        (void)reason;
        return false;
    }
};

// Who owns the replies, by the code of the operation that last started.
enum OperationCode : std::uint8_t {
    kNoOperation = 0,
    kEepromRead = 1,
    kEepromWrite = 2,
    kEepromVerify = 3,
    kFirmwareUpload = 4,
    kEepromWriteRow = 5,
    kEepromReadFirst = 6,
    kEepromWriteFirst = 7,
    kEepromVerifyFirst = 8,
    kEepromReadRow = 9,
    kEepromVerifyRow = 10,
    kPortCheck = 11,
    kTerminal = 255,
};

enum class OwnerKind { Eeprom, Firmware, PortCheck, Terminal };

// The service link: the one way a command line goes to the decoder, the
// assembly of reply lines from the received characters, their hand-over to
// the operation that owns them, and the reply time-out.
class ServiceLink : public QObject {
    Q_OBJECT
public:
    static constexpr int kReplyTimeoutMs = 15000;
    // Far longer than any reply: a line that grows past it without its
    // carriage return is dropped as a failed reply.
    static constexpr int kMaxReplyLength = 4096;

    ServiceLink(LinkPort& port, Clock& clock, OperationFrame& frame, QObject* parent = nullptr);
    ~ServiceLink() override;

    void SetOwner(OwnerKind kind, ReplyOwner* owner);

    LinkPort& Port() { return port_; }
    Clock& Time() { return clock_; }

    // The code of the operation the next replies belong to; never reset when
    // an operation ends.
    std::uint8_t OperationMode() const { return mode_; }
    // Starts an operation: its replies go to its owner until it ends.
    void BeginOperation(std::uint8_t mode);
    // The running operation has ended: lines that still come are terminal lines.
    void EndOperation();
    bool OperationRunning() const { return running_; }

    // The EEPROM row being transferred; shown as the address of each command.
    std::uint8_t currentRow = 0;

    // Sends one line and arms the reply time-out. On a port that cannot be
    // opened or written the owner's error end runs at once; returns false.
    bool SendCommand(const QString& line);
    // The same for a line already in the bytes it is sent as (Windows-1252).
    bool SendBytes(const QByteArray& line);

    // Waits `milliseconds` for the next reply without sending anything (a
    // decoder that answers on its own after a long task).
    void AwaitReply(int milliseconds);

    QString ReplyBuffer() const { return buffer_; }
    bool AwaitingReply() const { return timer_->IsActive(); }

private:
    void Receive(const QByteArray& bytes);
    void TimedOut();
    void DropOverlongReply();
    ReplyOwner* Owner() const;
    ReplyOwner* OwnerOf(std::uint8_t mode) const;

    LinkPort& port_;
    Clock& clock_;
    OperationFrame& frame_;
    std::unique_ptr<Timer> timer_;
    ReplyOwner* owners_[4] = {};
    QString buffer_;
    std::uint8_t mode_ = kNoOperation;
    bool running_ = false;
};

bool IsEepromMode(std::uint8_t mode);

}  // namespace velarix
