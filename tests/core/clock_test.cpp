#include <gtest/gtest.h>

#include "serial/service_link.h"
#include "shell/clock.h"

namespace velarix {
namespace {

// A timer of the program's clock is due exactly its interval after it was
// started. Qt's default timers may move a deadline by up to 5 % to wake up
// together on whole seconds; four intervals a quarter of a second apart
// cannot all land on such a boundary, so a rounded timer shows in one of
// them at least. Nothing here waits: the deadlines are read at once.
TEST(SystemClock, TimersAreDueExactlyTheirIntervalAfterTheirStart) {
    SystemClock clock;
    for (int interval : {ServiceLink::kReplyTimeoutMs, 15250, 15500, 15750, 1000, 600}) {
        auto timer = clock.MakeTimer();
        timer->Start(interval);
        const int remaining = timer->RemainingMs();
        EXPECT_LE(remaining, interval) << interval;
        EXPECT_GE(remaining, interval - 40) << interval;
    }
}

TEST(VirtualClock, RemainingTimeFollowsTheClock) {
    VirtualClock clock;
    auto timer = clock.MakeTimer();
    EXPECT_EQ(timer->RemainingMs(), -1);
    timer->Start(15000);
    clock.Advance(4000);
    EXPECT_EQ(timer->RemainingMs(), 11000);
    clock.Nudge(12000);  // a synchronous loop: overdue, not yet fired
    EXPECT_EQ(timer->RemainingMs(), 0);
    clock.Advance(0);
    EXPECT_EQ(timer->RemainingMs(), -1);
}

}  // namespace
}  // namespace velarix
