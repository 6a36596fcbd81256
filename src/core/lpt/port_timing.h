#pragma once

#include <cstdint>
#include <map>
#include <memory>

namespace velarix {

class Clock;
class VirtualClock;

// Time as the port protocols see it: the millisecond tick that every wait and
// time-out polls, and Spin, an empty counted loop between line changes.
class PortTiming {
public:
    virtual ~PortTiming() = default;
    virtual std::uint32_t Tick() = 0;
    // An empty loop of n + 1 iterations.
    virtual void Spin(std::uint32_t n) = 0;
    // Told of every port access, so that a virtual clock can move with them.
    virtual void Accessed() {}
};

// The program's own clock and a real spin loop, which the build cannot remove.
class SystemPortTiming : public PortTiming {
public:
    explicit SystemPortTiming(Clock& clock) : clock_(clock) {}
    std::uint32_t Tick() override;
    void Spin(std::uint32_t n) override;

private:
    Clock& clock_;
};

// A virtual clock that moves with the work: every port access and every look
// at the tick costs a microsecond, every spin iteration a nanosecond, so
// polling waits and time-outs end at once in wall time. The spins are
// counted for the tests.
class VirtualPortTiming : public PortTiming {
public:
    explicit VirtualPortTiming(VirtualClock& clock) : clock_(clock) {}
    std::uint32_t Tick() override;
    void Spin(std::uint32_t n) override;
    void Accessed() override;

    std::uint64_t accesses = 0;
    std::uint64_t spinCalls = 0;
    std::uint64_t spinIterations = 0;
    // How many spins of each count were made.
    std::map<std::uint32_t, std::uint64_t> spinsOfCount;

    // What each access and each look at the tick costs.
    std::uint32_t accessNanoseconds = 1000;
    std::uint32_t tickNanoseconds = 1000;

private:
    void Cost(std::uint64_t nanoseconds);

    VirtualClock& clock_;
    std::uint64_t nanoseconds_ = 0;
};

// The timing of port work on `clock`: the virtual one, which moves with the
// work, when the clock is a test's virtual clock; else the program's own.
std::unique_ptr<PortTiming> MakePortTiming(Clock& clock);

// A deadline `milliseconds` after the tick `start`, safe across the wrap of
// the 32-bit tick: it has passed once more than `milliseconds` went by.
class Deadline {
public:
    Deadline(std::uint32_t start, std::uint64_t milliseconds) : start_(start), ms_(milliseconds) {}
    bool PassedAt(std::uint32_t now) const { return std::uint32_t(now - start_) > ms_; }
    // The tick is no longer below the deadline: `milliseconds` went by.
    bool ReachedAt(std::uint32_t now) const { return std::uint32_t(now - start_) >= ms_; }

private:
    std::uint32_t start_;
    std::uint64_t ms_;
};

}  // namespace velarix
