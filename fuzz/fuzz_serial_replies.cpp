// Any byte stream from the decoder into the reply assembly and the three
// EEPROM reply handlers, in every mode and length, with time-outs between.
#include <QCoreApplication>
#include <cstddef>
#include <cstdint>

#include "eeprom/eeprom_image.h"
#include "eeprom/hex_editing.h"
#include "serial/serial_tasks.h"
#include "shell/null_frame.h"

namespace {

class FuzzPort : public velarix::LinkPort {
public:
    QString Name() const override { return QStringLiteral("fuzz"); }
    bool SetName(const QString&, QString*) override { return true; }
    bool Open(QString*) override { return true; }
    bool IsOpen() const override { return true; }
    void Apply(const velarix::SerialSettings&) override {}
    void Purge() override {}
    bool Write(const QByteArray&, QString*) override { return true; }
    void Deliver(const QByteArray& bytes) { emit Received(bytes); }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    if (size < 2) return 0;
    velarix::VirtualClock clock;
    velarix::NullFrame frame;
    FuzzPort port;
    velarix::EepromImage image;
    velarix::HexEditing editing(image);
    velarix::SerialTasks tasks(port, clock, frame, image, editing);
    editing.SetSelectedRow(static_cast<std::uint8_t>(1 + data[1] % 128));
    tasks.transfer.Start(static_cast<velarix::EepromOperation>(data[0] % 3),
                         static_cast<velarix::EepromLength>((data[0] / 3) % 3));
    // Byte 0x00 cuts the stream into arrivals; 0x01 lets the time-out pass.
    QByteArray chunk;
    for (std::size_t i = 2; i < size; ++i) {
        if (data[i] == 0x00 || data[i] == 0x01) {
            port.Deliver(chunk);
            chunk.clear();
            if (data[i] == 0x01) clock.Advance(velarix::ServiceLink::kReplyTimeoutMs);
            if (!tasks.transfer.Running())
                tasks.transfer.Start(velarix::EepromOperation::Read, velarix::EepromLength::Whole);
            continue;
        }
        chunk.append(static_cast<char>(data[i]));
    }
    port.Deliver(chunk);
    // An ended transfer leaves no time-out armed, and no row past the image.
    if (!tasks.transfer.Running() && tasks.link.AwaitingReply()) __builtin_trap();
    if (tasks.link.currentRow > velarix::EepromImage::kRows) __builtin_trap();
    return 0;
}
