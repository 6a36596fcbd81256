#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

namespace velarix {

// A one-shot timer of a clock.
class Timer {
public:
    virtual ~Timer() = default;
    virtual void Start(int milliseconds) = 0;
    virtual void Stop() = 0;
    virtual bool IsActive() const = 0;
    // The milliseconds until the timer is due (0 when overdue), or -1 when it
    // is not active.
    virtual int RemainingMs() const { return -1; }
    std::function<void()> onTimeout;
};

// The millisecond tick and the timers every wait and time-out of the program
// is measured with. The window and the command line run on the system clock;
// the tests run on a virtual one, so that a 15-second time-out costs no time.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Tick() const = 0;
    virtual std::unique_ptr<Timer> MakeTimer() = 0;
    // Runs the event loop until `done` holds. Gives up after `limitMs` of the
    // clock's time; returns whether `done` held.
    virtual bool RunUntil(const std::function<bool()>& done, int limitMs) = 0;
};

class SystemClock : public Clock {
public:
    SystemClock();
    std::uint32_t Tick() const override;
    std::unique_ptr<Timer> MakeTimer() override;
    bool RunUntil(const std::function<bool()>& done, int limitMs) override;

private:
    struct Private;
    std::shared_ptr<Private> d_;
};

// A clock whose time moves only when told to, or, inside RunUntil, when
// nothing else is left to do: then it jumps to the next timer that is due.
class VirtualClock : public Clock {
public:
    std::uint32_t Tick() const override { return now_; }
    std::unique_ptr<Timer> MakeTimer() override;
    bool RunUntil(const std::function<bool()>& done, int limitMs) override;

    // Moves time on by `milliseconds`, firing every timer that falls due.
    void Advance(int milliseconds);
    // Moves time on by `milliseconds` without firing anything: a synchronous
    // loop (a port transfer) lets no timer run; those that fell due meanwhile
    // fire when the event loop runs again.
    void Nudge(std::uint64_t milliseconds);
    void SetTick(std::uint32_t tick) { now_ = tick; }
    // The milliseconds until the next active timer (0 when one is overdue), or
    // -1 when none is active.
    int NextDue() const;

private:
    friend class VirtualTimer;
    std::uint32_t now_ = 0;
    std::uint64_t elapsed_ = 0;  // time since creation, never wraps
    std::uint64_t sequence_ = 0;
    // Deadline (elapsed time) and start order of each active timer.
    std::map<std::pair<std::uint64_t, std::uint64_t>, class VirtualTimer*> due_;
};

}  // namespace velarix
