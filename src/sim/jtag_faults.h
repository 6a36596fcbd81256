#pragma once

#include <cstdint>
#include <optional>

namespace velarix::sim {

// What can go wrong on the decoder's side of the JTAG cable, for the tests
// and for anyone trying the program against a misbehaving decoder.
struct JtagFaults {
    enum class Tdo { Driven, StuckLow, StuckHigh };
    Tdo tdo = Tdo::Driven;
    // The link never acknowledges a byte from the host.
    bool noAcknowledges = false;
    // The link sends acknowledges without end and nothing else.
    bool endlessAcknowledges = false;
    // Acknowledges come once the byte is in rather than as it starts.
    bool acknowledgeLate = false;
    // A busy target: before each answer it sends this many acknowledges, each
    // after `busyGap` idle clocks.
    int busyAcknowledges = 0;
    int busyGap = 0;
    // Reads are answered with this length byte (followed by as many bytes as
    // it announces) instead of 0, which announces 256.
    std::optional<std::uint8_t> lengthByte;
    // Bytes sent after a read's block beyond what its length byte announced.
    int extraBytes = 0;
    // The answer to this read (counted from 0) comes without its length byte.
    int lengthByteLostInAnswer = -1;
    // Mailbox polls the trap routine takes to finish a command, and reads of
    // the control word it takes to start.
    int routinePolls = 3;
    int startPolls = 2;

    // A loose cable: every other capture of the identification register
    // loses a bit.
    bool unsteadyIdcode = false;

    // The flash sector holding this address will neither erase nor program:
    // the trap routine takes such a command and never reports it done, unless
    // `stuckFlashReportsDone`, when it reports it done all the same and only
    // a read-back shows that nothing happened. A chip erase erases the other
    // sectors.
    std::optional<std::uint32_t> stuckFlashAt;
    bool stuckFlashReportsDone = false;
    // The first read of this address after a program command wrote it
    // answers the byte with its bits inverted; once in the target's life.
    std::optional<std::uint32_t> readBackDiffersOnceAt;

    // The seeded random mode: with a seed, each byte from the host loses its
    // acknowledge and each byte for the host is withheld with these odds (in
    // millionths). Acknowledges also come early or late and bytes with gaps,
    // which is no fault. The same seed gives the same faults for the same
    // traffic.
    std::optional<std::uint64_t> randomSeed;
    int ackWithheldPerMillion = 5000;
    int byteWithheldPerMillion = 300;
};

// The dice of the random mode: a small generator whose sequence is the same
// on every platform.
class FaultDice {
public:
    explicit FaultDice(std::uint64_t seed = 0) : state_(seed) {}
    std::uint64_t Next() {
        std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // True with odds perMillion / 1000000.
    bool Roll(int perMillion) { return static_cast<int>(Next() % 1000000) < perMillion; }
    // A whole number from 0 to below `n`.
    int Below(int n) {
        return n > 0 ? static_cast<int>(Next() % static_cast<std::uint64_t>(n)) : 0;
    }

private:
    std::uint64_t state_;
};

}  // namespace velarix::sim
