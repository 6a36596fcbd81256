#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include "lpt/parallel_handshake.h"
#include "lpt/port_backend.h"
#include "serial/service_link.h"

namespace velarix {

class OperationFrame;
class PortTiming;
struct Settings;

enum class UploadOutcome {
    Success,         // the decoder verified the upload, or found its port sound
    Refused,         // the decoder would not take the load
    TransferFailed,  // the parallel transfer ended early, or its port could not be used
    DecoderFailure,  // the decoder reported the upload (or its port) as failed
    NoReply,         // a reply did not come in time
    LinkError,       // the serial port could not be used
    NotStarted,      // nothing was sent (no command chosen)
};

// The "Firmware (Paralelo+Serie)" page's two operations. "Enviar": the load
// command (DL, PL or FL, with the address, size and data sum) goes out on the
// service link; once the decoder agrees, the image goes over the parallel
// port; then, after the decoder's own report when "Envío con fase 1 y 2" is
// ticked, the verification query asks whether it was written. "Comprobar
// LPT" asks the decoder whether its parallel port is sound.
//
// Phases of an upload: 0 waits for the answer to the load command, 1 for the
// decoder's report after the data (75 s), 2 for the answer to the
// verification query.
class FirmwareUpload {
public:
    static constexpr int kReportTimeoutMs = 75000;

    FirmwareUpload(ServiceLink& link, OperationFrame& frame, PortTiming& timing,
                   const Settings& settings);
    ~FirmwareUpload();

    // The text of the address box now.
    std::function<QString()> addressText;
    // Opens the parallel port for one transfer run.
    std::function<PortOpening()> openPort;
    // Every end of an operation, after its boxes.
    std::function<void(UploadOutcome)> finished;

    // Starts an upload of `image`; false when nothing was started.
    bool StartUpload(QByteArray image);
    bool StartPortCheck();

    bool Running() const { return running_; }
    int Phase() const { return phase_; }
    std::int32_t ErrorCount() const { return errors_; }
    // The peripheral's mode as the last transfer left it.
    const PortStateWord& StateWord() const { return state_; }

private:
    class UploadReplies;
    class PortCheckReplies;

    QString CommandWord() const;
    void HandleUploadReply(const QString& line);
    void AnswerUploadReply(const QString& line);
    void SendVerifyQuery();
    void RunTransfer();
    void TransferImage();
    void HandleUploadTimeout();
    void HandlePortCheckReply(const QString& line);
    void HandlePortCheckTimeout();
    void HandleLinkError(const QString& reason);
    void End(UploadOutcome outcome);

    ServiceLink& link_;
    OperationFrame& frame_;
    PortTiming& timing_;
    const Settings& settings_;
    std::unique_ptr<UploadReplies> uploadReplies_;
    std::unique_ptr<PortCheckReplies> portCheckReplies_;
    PortStateWord state_;
    QByteArray image_;
    QString loadWord_;
    std::uint8_t phase_ = 0;
    std::int32_t errors_ = 0;
    bool running_ = false;
    // The image is going over the parallel port: lines that come meanwhile
    // (a box of the transfer lets the serial port be read) wait for its end.
    bool transferring_ = false;
    QStringList held_;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// A reply line is a positive answer when its second character is ".".
bool IsPositiveReply(const QString& line);

// What choosing an item of the address box sets: the command (0 DL, 1 PL,
// 2 FL) and "Envío con fase 1 y 2". None for a text that is not an item.
struct AddressPreset {
    int command;
    bool phase12;
};
std::optional<AddressPreset> PresetOf(const QString& address);

// What the address box keeps of typed text: hexadecimal digits, upper case,
// at most eight; every other character is dropped.
QString AddressBoxText(const QString& typed);

}  // namespace velarix
