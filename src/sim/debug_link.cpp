#include "debug_link.h"

#include <algorithm>

namespace velarix::sim {

namespace {

// Idle clocks we leave after a byte from the host before a data packet of
// ours: the host does not look at TDO on the clock that ends its byte.
constexpr int kTurnaround = 2;

}  // namespace

void DebugLinkEnd::SetFaults(const JtagFaults* faults) {
    faults_ = faults;
    random_ = faults && faults->randomSeed.has_value();
    if (random_) dice_ = FaultDice(*faults->randomSeed);
}

void DebugLinkEnd::BeginAnswer() {
    busyLeft_ = faults_ ? faults_->busyAcknowledges : 0;
    busyGapLeft_ = faults_ ? faults_->busyGap : 0;
}

void DebugLinkEnd::Reset() {
    busyLeft_ = 0;
    busyGapLeft_ = 0;
    receive_ = Receive::Idle;
    dataBits_ = 0;
    shift_ = 0;
    packet_.clear();
    acks_.clear();
    queue_.clear();
    awaitingAck_ = false;
    gap_ = 0;
}

// An acknowledge owed to the host, unless it is to be withheld.
void DebugLinkEnd::Acknowledge(int delay) {
    if (faults_ && faults_->noAcknowledges) {
        ++acknowledgesWithheld;
        return;
    }
    if (random_ && dice_.Roll(faults_->ackWithheldPerMillion)) {
        ++acknowledgesWithheld;
        return;
    }
    acks_.push_back(delay);
}

void DebugLinkEnd::TakeBit(bool tdi) {
    switch (receive_) {
        case Receive::Idle:
            if (tdi) receive_ = Receive::GotOne;
            return;
        case Receive::GotOne:
            if (!tdi) {
                // 1, 0: the host acknowledges our last data packet.
                awaitingAck_ = false;
                receive_ = Receive::Idle;
                return;
            }
            receive_ = Receive::Data;
            dataBits_ = 0;
            shift_ = 0;
            ackLate_ = random_ ? dice_.Roll(500000) : (faults_ && faults_->acknowledgeLate);
            if (!ackLate_) Acknowledge(random_ ? dice_.Below(12) : 0);
            return;
        case Receive::Data:
            shift_ |= std::uint8_t(tdi ? 1 : 0) << dataBits_;
            if (++dataBits_ < 8) return;
            receive_ = Receive::Stop;
            ++bytesReceived;
            if (ackLate_) Acknowledge(random_ ? dice_.Below(24) : 0);
            gap_ = std::max(gap_, kTurnaround);
            if (onByte) onByte(shift_);
            return;
        case Receive::Stop:
            receive_ = tdi ? Receive::GotOne : Receive::Idle;
            return;
    }
}

void DebugLinkEnd::StartPacket() {
    if (faults_ && faults_->endlessAcknowledges) {
        packet_ = {false, true};  // sent from the back: 1, 0
        ++acknowledgesSent;
        return;
    }
    if (!acks_.empty() && acks_.front() <= 0) {
        acks_.pop_front();
        packet_ = {false, true};
        ++acknowledgesSent;
        // The host may end its byte with a clock it does not look at.
        gap_ = std::max(gap_, kTurnaround);
        return;
    }
    // An answer waits until the bytes it answers are acknowledged.
    if (awaitingAck_ || queue_.empty() || !acks_.empty()) return;
    if (gap_ > 0) {
        --gap_;
        return;
    }
    if (busyLeft_ != 0) {
        if (busyGapLeft_ > 0) {
            --busyGapLeft_;
            return;
        }
        if (busyLeft_ > 0) --busyLeft_;
        busyGapLeft_ = faults_->busyGap;
        packet_ = {false, true};
        ++acknowledgesSent;
        return;
    }
    const std::uint8_t byte = queue_.front();
    queue_.pop_front();
    if (random_ && dice_.Roll(faults_->byteWithheldPerMillion)) {
        ++bytesWithheld;
        return;
    }
    // 1, 1, the data bits least significant first, 0; stored from the back.
    packet_.assign(11, false);
    packet_[10] = true;
    packet_[9] = true;
    for (int k = 0; k < 8; ++k) packet_[8 - k] = (byte >> k) & 1;
    packet_[0] = false;
    awaitingAck_ = true;
    ++bytesSent;
    if (random_ && dice_.Roll(100000)) gap_ = dice_.Below(40);
}

bool DebugLinkEnd::NextBit() {
    for (int& wait : acks_) {
        if (wait > 0) --wait;
    }
    if (packet_.empty()) StartPacket();
    if (packet_.empty()) return false;
    const bool bit = packet_.back();
    packet_.pop_back();
    return bit;
}

}  // namespace velarix::sim
