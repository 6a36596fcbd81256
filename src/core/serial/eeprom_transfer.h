#pragma once

#include <QString>
#include <cstdint>
#include <functional>

#include "serial/service_link.h"

namespace velarix {

class EepromImage;
class HexEditing;
class OperationFrame;

enum class EepromOperation { Read, Write, Verify };
// The " Longitud " choice of the "Eeprom" page.
enum class EepromLength { Whole, UpTo0AF, SelectedRow };

enum class TransferOutcome { Success, RetryLimit, NoReply, LinkError, InvalidImage };

// "Recibir", "Enviar" and "Verificar" of the "Eeprom" page: one row of 16
// bytes per command, each accepted reply moving on to the next row, each
// refusal ("$?C0") asking for the same row again, ten refusals in a row ending
// the transfer.
class EepromTransfer : public ReplyOwner {
public:
    static constexpr int kRetryLimit = 10;

    EepromTransfer(ServiceLink& link, EepromImage& image, HexEditing& editing,
                   OperationFrame& frame);

    // Starts a transfer; false when the image check refused it or the first
    // command could not be sent (the outcome has then been reported).
    bool Start(EepromOperation operation, EepromLength length);
    bool Running() const { return running_; }

    int ErrorCount() const { return errorCount_; }
    // Rows a verification found different, in order.
    const QList<int>& MismatchedRows() const { return mismatches_; }

    // Called at every end of a transfer that changed nothing else.
    std::function<void()> refreshFields;
    // Brings the "Editor Hexadecimal" sub-page to the front as a transfer starts.
    std::function<void()> showHexEditor;
    std::function<void(TransferOutcome)> finished;

    void HandleReply(const QString& line) override;
    void HandleTimeout() override;
    void HandleLinkError(const QString& reason) override;
    bool HandleFailedReply(const QString& reason) override;

private:
    QString CommandForCurrentRow() const;
    // A refusal, or a reply that cannot be taken: counted, the row asked again.
    void CountFailure();
    // The end test, or the command for the row that is now current.
    void Continue();
    void ShowProgress();
    void Finish();
    void Report(TransferOutcome outcome);

    ServiceLink& link_;
    EepromImage& image_;
    HexEditing& editing_;
    OperationFrame& frame_;
    EepromOperation operation_ = EepromOperation::Read;
    int rowLimit_ = 0;
    std::int32_t errorCount_ = 0;
    std::uint32_t startTick_ = 0;
    bool running_ = false;
    QList<int> mismatches_;
};

}  // namespace velarix
