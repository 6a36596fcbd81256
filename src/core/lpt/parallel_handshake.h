#pragma once

#include <QByteArray>
#include <QString>
#include <cstdint>

#include "lpt/port_io.h"

namespace velarix {

class OperationFrame;
struct Settings;

// The thirteen delays of the "Puerto Paralelo" page as the transfer uses
// them: milliseconds for waits and time-outs, cycles for spins.
struct HandshakeDelays {
    std::uint64_t busy = 300;           // RetardoBusy: time-out for Busy to drop
    std::uint8_t strobe = 10;           // RetardoStrobe: nStrobe pulse
    std::uint8_t negotiation1 = 10;     // RetardoNegociacion1: before the request
    std::uint64_t negotiation2 = 500;   // RetardoNegociacion2: phase 2 time-out
    std::uint64_t negotiation3 = 500;   // RetardoNegociacion3: pulse, a spin of (value mod 256)
    std::uint8_t negotiation4 = 10;     // RetardoNegociacion4: phase 6 time-out in milliseconds
    std::uint64_t opening1 = 100;       // RetardoApertura1: nInit held low
    std::uint64_t opening2 = 100;       // RetardoApertura2: settling after nInit rises
    std::uint64_t closing1 = 500;       // RetardoClausura1: time-out for nAck to fall
    std::uint64_t closing2 = 500;       // RetardoClausura2: time-out for nAck to rise
    std::uint64_t start = 2000;         // RetardoComienzo: before the first byte
    std::uint64_t verification = 1000;  // RetardoVerificacion: before the verification query
    std::uint64_t betweenBytes = 0;     // RetardoEntreBytes: spin after each byte when above 0
};
HandshakeDelays DelaysOf(const Settings& settings);

// How a transfer run ended.
enum class TransferEnd {
    Complete,        // every byte sent
    ErrorLimit,      // 100 failed bytes
    RecoveryFailed,  // PError stayed high after a recovery
    PortNotOpened,   // the port could not be opened to the process; nothing was touched
    PortFailed,      // the port stopped answering
};

// The peripheral's mode as last established: "CPT" (compatibility), "DNA"
// and "DA" (negotiated, data not or data available), "ERROR".
struct PortStateWord {
    QString text;
};

// The parallel side of a firmware upload: the loader is probed with an IEEE
// 1284 negotiation (extensibility byte 00h, nibble mode) and terminated back
// to compatibility mode, the image is strobed byte by byte with the
// Strobe/Busy/nAck handshake, a failed byte is recovered with an nInit pulse
// and sent again, and a second negotiation and termination close the
// transfer. Every control write is a read-modify-write of the control
// register; every pause is one of the thirteen delays.
class ParallelHandshake {
public:
    static constexpr int kErrorLimit = 100;
    static constexpr int kProgressStep = 12287;

    ParallelHandshake(Lpt& lpt, const HandshakeDelays& delays, PortStateWord& state,
                      OperationFrame& frame)
        : lpt_(lpt), delays_(delays), state_(state), frame_(frame) {}

    void ForceCompatibility();
    // 0: data not available, 1: data available, 3: failure (after its box).
    int Negotiate();
    void OpenTransfer();
    bool Terminate();
    // 0: sent, 1: Busy never dropped, 2: no acknowledge.
    int SendByte(std::uint8_t value);
    // True when PError stayed high (the recovery timed out).
    bool RecoverAfterError();

    // The transfer run: opens the port to the process, opens the transfer,
    // sends `image` and closes. Status fields, progress and log lines go to
    // the firmware page; failed bytes count in `errors`.
    TransferEnd SendImage(const QByteArray& image, const QString& startAddress, bool showProgress,
                          std::int32_t& errors);

private:
    std::uint8_t ReadControl();
    void WriteControl(std::uint8_t value);
    // A box of the negotiation; a port that stopped answering has its own.
    void NegotiationBox(int key);
    bool Dead() const { return lpt_.port.Failed(); }
    QString AddressText(std::int64_t offset) const;

    Lpt& lpt_;
    HandshakeDelays delays_;
    PortStateWord& state_;
    OperationFrame& frame_;
    std::int64_t start_ = 0;
};

}  // namespace velarix
