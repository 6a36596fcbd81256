#pragma once

#include <cstdint>
#include <optional>
#include <random>

#include "pc_parallel_port.h"

namespace velarix::sim {

// Where the peripheral puts the bytes it takes.
class ByteSink {
public:
    virtual ~ByteSink() = default;
    virtual void Take(std::uint8_t byte) = 0;
    // The host drove nAutoFd low: it negotiates or terminates, so whatever
    // bytes it meant to send in compatibility mode have been sent.
    virtual void TransferOver() {}
};

// What can go wrong on the decoder's side of the parallel cable.
struct PeripheralFaults {
    bool refuseNegotiation = false;   // never answers a negotiation request
    bool ackStuckLow = false;         // nAck never rises
    bool selectHighInPhase6 = false;  // answers the nibble request with Select high
    bool ackLowInPhase6 = false;      // never gives event 6 (nAck stays low)
    bool paperEndStuckHigh = false;   // PError never falls
    std::int64_t busyStuckAt = -1;    // Busy stays high once this many bytes were taken
    std::int64_t ackLowAt = -1;       // the first try of byte k is not acknowledged
};

// The decoder's parallel port as an IEEE 1284 peripheral, written from the
// standard's event list, from the peripheral's side:
//
// Compatibility mode (nSelectIn low). nStrobe falling latches the data and
// raises Busy; nStrobe rising takes the byte; the status reads that follow
// see Busy still high with nAck high, then the nAck pulse, then Busy low.
// A byte that is not acknowledged (nAck held low) is not taken.
//
// Negotiation. Event 1 (nSelectIn high, nAutoFd low) is answered with event 2
// (nAck low, PError, nFault and Select high). Event 3 (nStrobe low) latches
// the extensibility byte, event 4 (nStrobe and nAutoFd high) is answered
// with event 5 (Select low: for the nibble-mode request 00h that means
// "supported", for any other request "not supported", and nibble mode is all
// this loader knows; nFault high: no data to send) and event 6 (nAck high).
//
// Termination. Event 22 (nSelectIn falling) is answered with event 24 (nAck
// low); event 25 (nAutoFd low) with event 27 (nAck high); event 28 (nAutoFd
// high) ends it in compatibility mode.
//
// nInit falling resets the peripheral to compatibility mode and drops a byte
// not yet taken; its level is ignored, since the host may keep it low.
class Ieee1284Peripheral : public CableEnd {
public:
    explicit Ieee1284Peripheral(ByteSink& sink) : sink_(sink) {}

    void OnHostLines(const HostLines& lines) override;
    PeripheralLines Lines() override;

    PeripheralFaults faults;
    // Seeded random faults: of every byte strobed and every negotiation, the
    // given share in thousandths meets a fault (same seed, same faults). Most are
    // seen by the host (no acknowledge, Busy or PError held for a while, a
    // negotiation refused); at most one per load is silent (a byte taken
    // twice, lost or changed), which the loader's size and sum checks catch.
    void SetRandomFaults(std::uint32_t seed, int perMille);
    // A new load begins: the silent fault may strike once more.
    void NewLoad() { silentSpent_ = false; }

    std::int64_t BytesTaken() const { return taken_; }
    int Negotiations() const { return negotiations_; }
    // The extensibility byte of the last negotiation, as latched at event 3.
    std::uint8_t LastRequest() const { return request_; }
    int Resets() const { return resets_; }

private:
    enum class Phase {
        Idle,         // compatibility mode, ready
        Latched,      // nStrobe low: a byte is held
        Acking,       // the byte was taken; Busy and the nAck pulse follow
        NotAcked,     // the byte was not acknowledged; waits for nInit
        Answered,     // negotiation event 2 given
        Negotiated,   // events 5 and 6 given
        Terminating,  // event 24 given
        Terminated,   // event 27 given
    };
    enum class Fault { None, NoAck, HoldBusy, HoldPaperEnd, Change, Twice, Lose };

    void Reset();
    void Strobed();
    Fault DrawFault();
    bool Strikes();

    ByteSink& sink_;
    HostLines host_;
    Phase phase_ = Phase::Idle;
    std::uint8_t latched_ = 0;
    std::uint8_t request_ = 0;
    bool requestLatched_ = false;  // event 3 seen
    bool selectHigh_ = false;
    int ackReads_ = 0;
    std::int64_t taken_ = 0;
    std::int64_t tries_ = 0;  // strobes of the byte now due
    int negotiations_ = 0;
    int resets_ = 0;

    std::optional<std::mt19937> random_;
    int perMille_ = 0;
    bool silentSpent_ = false;
    std::uint32_t busyHold_ = 0;          // status reads Busy stays high
    std::uint32_t paperEndHold_ = 0;      // status reads PError stays high
    std::uint32_t nextPaperEndHold_ = 0;  // for the next reset
};

}  // namespace velarix::sim
