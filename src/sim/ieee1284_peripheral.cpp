#include "ieee1284_peripheral.h"

#include <utility>

namespace velarix::sim {

namespace {

// Holds long enough that about half outlast the host's time-outs (a status
// read of a polling host costs it a couple of microseconds).
constexpr std::uint32_t kLongestBusyHold = 300000;
constexpr std::uint32_t kLongestPaperEndHold = 500000;

}  // namespace

void Ieee1284Peripheral::SetRandomFaults(std::uint32_t seed, int perMille) {
    random_.emplace(seed);
    perMille_ = perMille;
}

bool Ieee1284Peripheral::Strikes() {
    return random_ && static_cast<int>((*random_)() % 1000) < perMille_;
}

Ieee1284Peripheral::Fault Ieee1284Peripheral::DrawFault() {
    if (!Strikes()) return Fault::None;
    const auto fault = static_cast<Fault>(1 + (*random_)() % 6);
    switch (fault) {
        case Fault::HoldBusy:
            busyHold_ = 1 + (*random_)() % kLongestBusyHold;
            return Fault::None;  // the byte itself goes through
        case Fault::HoldPaperEnd:
            nextPaperEndHold_ = 1 + (*random_)() % kLongestPaperEndHold;
            return Fault::NoAck;  // a recovery follows, which meets the held PError
        case Fault::Change:
        case Fault::Twice:
        case Fault::Lose:
            if (silentSpent_) return Fault::None;
            silentSpent_ = true;
            return fault;
        default:
            return fault;
    }
}

void Ieee1284Peripheral::Reset() {
    ++resets_;
    phase_ = Phase::Idle;
    busyHold_ = 0;
    paperEndHold_ = std::exchange(nextPaperEndHold_, 0);
}

// nStrobe rose on a latched byte.
void Ieee1284Peripheral::Strobed() {
    ackReads_ = 0;
    ++tries_;
    Fault fault = DrawFault();
    if (faults.ackLowAt == taken_ && tries_ == 1) fault = Fault::NoAck;
    switch (fault) {
        case Fault::NoAck:
            phase_ = Phase::NotAcked;
            return;
        case Fault::Twice:  // taken, but the host is told it was not
            sink_.Take(latched_);
            phase_ = Phase::NotAcked;
            return;
        case Fault::Lose:  // acknowledged, never taken
            phase_ = Phase::Acking;
            return;
        case Fault::Change:
            latched_ ^= 0x10;
            break;
        default:
            break;
    }
    sink_.Take(latched_);
    ++taken_;
    tries_ = 0;
    phase_ = Phase::Acking;
}

void Ieee1284Peripheral::OnHostLines(const HostLines& lines) {
    const HostLines before = host_;
    host_ = lines;
    if (before.nAutoFd && !lines.nAutoFd) sink_.TransferOver();
    if (before.nInit && !lines.nInit) {
        Reset();
        return;
    }
    const bool strobeFell = before.nStrobe && !lines.nStrobe;
    const bool strobeRose = !before.nStrobe && lines.nStrobe;
    const bool negotiationRequest =
        lines.nSelectIn && !lines.nAutoFd && !(before.nSelectIn && !before.nAutoFd);
    switch (phase_) {
        case Phase::Acking:
        case Phase::Idle:
            if (negotiationRequest) {
                const bool refused = faults.refuseNegotiation || Strikes();
                if (refused) return;
                ++negotiations_;
                request_ = lines.data;
                requestLatched_ = false;
                phase_ = Phase::Answered;
                return;
            }
            if (strobeFell && busyHold_ == 0 && faults.busyStuckAt != taken_) {
                latched_ = lines.data;
                phase_ = Phase::Latched;
            }
            return;
        case Phase::Latched:
            if (strobeRose) Strobed();
            return;
        case Phase::NotAcked:
            return;
        case Phase::Answered:
            if (!lines.nSelectIn) {
                phase_ = Phase::Idle;  // the host gave up
                return;
            }
            if (strobeFell) {
                request_ = lines.data;
                requestLatched_ = true;
            }
            if (requestLatched_ && lines.nStrobe && lines.nAutoFd) {
                selectHigh_ = faults.selectHighInPhase6 || Strikes();
                phase_ = Phase::Negotiated;
            }
            return;
        case Phase::Negotiated:
            if (before.nSelectIn && !lines.nSelectIn) phase_ = Phase::Terminating;
            return;
        case Phase::Terminating:
            if (before.nAutoFd && !lines.nAutoFd) phase_ = Phase::Terminated;
            return;
        case Phase::Terminated:
            if (!before.nAutoFd && lines.nAutoFd) phase_ = Phase::Idle;
            return;
    }
}

PeripheralLines Ieee1284Peripheral::Lines() {
    PeripheralLines out;  // compatibility mode, ready: Busy low, nAck high, Select high
    // The read right after the strobe sees Busy high, the next one the
    // acknowledge pulse; then the peripheral is ready again.
    if (phase_ == Phase::Acking && ++ackReads_ > 2) phase_ = Phase::Idle;
    switch (phase_) {
        case Phase::Idle:
            out.busy = busyHold_ > 0 || faults.busyStuckAt == taken_;
            if (busyHold_ > 0) --busyHold_;
            break;
        case Phase::Latched:
        case Phase::NotAcked:
            out.busy = true;
            out.nAck = phase_ == Phase::Latched;
            break;
        case Phase::Acking:
            out.busy = true;
            out.nAck = ackReads_ != 2;
            break;
        case Phase::Answered:
            out.nAck = false;
            out.pError = true;
            break;
        case Phase::Negotiated:
            out.nAck = !faults.ackLowInPhase6;
            out.pError = true;
            out.select = selectHigh_;
            break;
        case Phase::Terminating:
            out.nAck = false;
            break;
        case Phase::Terminated:
            break;
    }
    if (faults.ackStuckLow) out.nAck = false;
    if (paperEndHold_ > 0) {
        --paperEndHold_;
        out.pError = true;
    }
    if (faults.paperEndStuckHigh) out.pError = true;
    return out;
}

}  // namespace velarix::sim
