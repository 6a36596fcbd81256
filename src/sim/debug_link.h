#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "jtag_faults.h"

namespace velarix::sim {

// The decoder's end of the serial debug link that the TAP carries in its data
// register while the link instruction is loaded: one link bit per TCK, the
// host's bits on TDI, ours on TDO.
//
// Framing, the same in both directions: the line idles at 0; a data packet is
// 1, 1, eight data bits least significant first, then 0; an acknowledge is
// 1, 0. A receiver acknowledges every data packet (here as soon as its two
// start bits went by, or once the byte is in: either is allowed, and the
// random mode uses both), and a sender sends its next data packet only once
// the previous one was acknowledged.
class DebugLinkEnd {
public:
    // A byte from the host came in.
    std::function<void(std::uint8_t)> onByte;

    // A rising edge of TCK: the host's bit.
    void TakeBit(bool tdi);
    // A falling edge of TCK: the bit we drive next.
    bool NextBit();

    // An answer begins: a busy target first acknowledges for a while.
    void BeginAnswer();
    // Queues a byte for the host.
    void Send(std::uint8_t byte) { queue_.push_back(byte); }
    // Bytes queued but not yet started.
    std::size_t Queued() const { return queue_.size(); }
    // Back to an idle line with nothing pending (the DCU reset line does this).
    void Reset();

    void SetFaults(const JtagFaults* faults);

    // What went by, for the tests.
    std::uint64_t bytesReceived = 0;
    std::uint64_t bytesSent = 0;
    std::uint64_t acknowledgesSent = 0;
    std::uint64_t acknowledgesWithheld = 0;
    std::uint64_t bytesWithheld = 0;

private:
    enum class Receive { Idle, GotOne, Data, Stop };

    void Acknowledge(int delay);
    void StartPacket();

    const JtagFaults* faults_ = nullptr;
    FaultDice dice_;
    bool random_ = false;

    Receive receive_ = Receive::Idle;
    int dataBits_ = 0;
    std::uint8_t shift_ = 0;
    bool ackLate_ = false;  // acknowledge once the byte is in, not at its start

    std::vector<bool> packet_;  // the bits of the packet on the wire, from the back
    std::deque<int> acks_;      // acknowledges owed, each with the clocks it must still wait
    std::deque<std::uint8_t> queue_;
    bool awaitingAck_ = false;  // our last data packet is not yet acknowledged
    int gap_ = 0;               // idle clocks before the next data packet
    int busyLeft_ = 0;          // acknowledges still to send before the answer
    int busyGapLeft_ = 0;
};

}  // namespace velarix::sim
