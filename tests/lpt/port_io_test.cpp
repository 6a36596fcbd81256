#include <gtest/gtest.h>

#include <map>

#include "lpt/port_io.h"
#include "shell/clock.h"

namespace velarix {
namespace {

// A port whose registers hold what the test puts there.
struct RegisterPort : ParallelPort {
    std::map<std::uint16_t, std::uint8_t> registers;
    int reads = 0, writes = 0;
    std::uint8_t In(std::uint16_t address) override {
        ++reads;
        return registers[address];
    }
    void Out(std::uint16_t address, std::uint8_t value) override {
        ++writes;
        registers[address] = value;
    }
};

struct PortIoTest : ::testing::Test {
    VirtualClock clock;
    VirtualPortTiming timing{clock};
    RegisterPort port;
    Lpt lpt{port, timing, 0x378};
};

TEST_F(PortIoTest, StatusReadersReadBasePlusOneAfreshWithBusyInverted) {
    port.registers[0x379] = 0x00;
    EXPECT_TRUE(IsBusy(lpt));  // bit 7 clear: the line is high
    EXPECT_FALSE(IsAckHigh(lpt));
    EXPECT_FALSE(IsPaperEnd(lpt));
    EXPECT_FALSE(IsSelect(lpt));
    EXPECT_FALSE(IsFaultHigh(lpt));
    port.registers[0x379] = 0xF8;
    EXPECT_FALSE(IsBusy(lpt));
    EXPECT_TRUE(IsAckHigh(lpt));
    EXPECT_TRUE(IsPaperEnd(lpt));
    EXPECT_TRUE(IsSelect(lpt));
    EXPECT_TRUE(IsFaultHigh(lpt));
    EXPECT_EQ(port.reads, 10);
    EXPECT_EQ(timing.accesses, 10u);
}

TEST_F(PortIoTest, WaitMsEndsOnceMoreThanTheDelayWentByOnTheVirtualClock) {
    clock.SetTick(5000);
    WaitMs(lpt, 500);
    EXPECT_GT(clock.Tick(), 5500u);
    EXPECT_LE(clock.Tick(), 5502u);
}

TEST_F(PortIoTest, AWaitAcrossTheWrapOfTheTickNeitherEndsAtOnceNorHangs) {
    clock.SetTick(0xFFFFFF00u);
    WaitMs(lpt, 1000);
    EXPECT_GT(std::uint32_t(clock.Tick() - 0xFFFFFF00u), 1000u);
    EXPECT_LT(clock.Tick(), 0x400u);  // it wrapped and went on
}

TEST_F(PortIoTest, SpinsAreCountedAndCostVirtualTimeOnly) {
    Spin(lpt, 0);
    Spin(lpt, 244);
    Spin(lpt, 244);
    EXPECT_EQ(timing.spinCalls, 3u);
    EXPECT_EQ(timing.spinIterations, 1u + 245u + 245u);
    EXPECT_EQ(timing.spinsOfCount[244], 2u);
}

TEST(DeadlineTest, PassesOnlyOnceMoreThanItsMillisecondsWentBy) {
    const Deadline deadline(0xFFFFFFF0u, 32);
    EXPECT_FALSE(deadline.PassedAt(0xFFFFFFF0u));
    EXPECT_FALSE(deadline.PassedAt(0x10u));  // exactly 32 after
    EXPECT_TRUE(deadline.PassedAt(0x11u));
}

TEST(SystemPortTimingTest, SpinRunsWithoutAClockOfItsOwn) {
    SystemClock clock;
    SystemPortTiming timing(clock);
    timing.Spin(1000);  // must neither crash nor be optimised into nothing visible
    SUCCEED();
}

TEST(VirtualClockNudgeTest, ATimerThatFellDueDuringANudgeFiresWhenTheLoopRunsAgain) {
    VirtualClock clock;
    auto timer = clock.MakeTimer();
    bool fired = false;
    timer->onTimeout = [&] { fired = true; };
    timer->Start(10);
    clock.Nudge(50);
    EXPECT_FALSE(fired);
    EXPECT_EQ(clock.NextDue(), 0);
    clock.Advance(0);
    EXPECT_TRUE(fired);
    EXPECT_EQ(clock.Tick(), 50u);
}

}  // namespace
}  // namespace velarix
